#include "app/form1.h"

#include "templates/form5.h"

namespace avatello {

// New > Templates: opens the gallery, or brings the open one forward.
void Form1::tempsss_Click()
{
    showSecondary(form5);
}

} // namespace avatello
