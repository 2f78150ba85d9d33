#include "text/form4.h"

#include "app/form1.h"

namespace avatello {

Form4::Form4(Form1& main) : QWidget(nullptr), main_(main)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(main_.windowIcon());
}

} // namespace avatello
