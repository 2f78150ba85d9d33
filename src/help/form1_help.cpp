#include "app/form1.h"

#include "help/form3.h"

namespace avatello {

void Form1::shhhhh_Click() {}
void Form1::ggaga_Click() {}

void Form1::vbhelp_Click()
{
    showSecondary(form3);
}

void Form1::theveryvest_Click() {}
void Form1::Label1_Click() {}

} // namespace avatello
