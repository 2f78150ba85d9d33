#include "app/form1.h"

#include "text/form2.h"
#include "text/form4.h"

namespace avatello {

void Form1::Image1_MouseDown(int, int, float, float) {}
void Form1::ha3ah_Click() {}
void Form1::djd_Click() {}

void Form1::hhhhhhhhhhhhhhh22_Click()
{
    showSecondary(form2);
}

void Form1::changefont_Click()
{
    showSecondary(form4);
}

} // namespace avatello
