#include "text/form2.h"

#include "app/form1.h"

namespace avatello {

Form2::Form2(Form1& main) : QWidget(nullptr), main_(main)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(main_.windowIcon());
}

} // namespace avatello
