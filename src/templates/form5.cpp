#include "templates/form5.h"

#include "app/form1.h"

namespace avatello {

Form5::Form5(Form1& main) : QWidget(nullptr), main_(main)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(main_.windowIcon());
}

} // namespace avatello
