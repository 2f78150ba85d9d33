#pragma once

#include <QWidget>

namespace avatello {

class Form1;

class Form2 : public QWidget
{
    Q_OBJECT

public:
    explicit Form2(Form1& main);

private:
    Form1& main_;
};

} // namespace avatello
