#include "app/form1.h"

#include "templates/form5.h"

namespace avatello {

void Form1::tempsss_Click()
{
    showSecondary(form5);
}

} // namespace avatello
