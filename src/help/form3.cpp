#include "help/form3.h"

#include "app/form1.h"

namespace avatello {

Form3::Form3(Form1& main) : QWidget(nullptr), main_(main)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(main_.windowIcon());
}

} // namespace avatello
