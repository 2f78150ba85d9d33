#pragma once

#include "support/fixture.h"

namespace avatello::test {

// Adds a text the way a user does: Add Text, answering the prompt.
inline void addText(Program& program, const QString& text)
{
    program.user.texts.push_back(text);
    program->ha3ah_Click();
}

// A press on the canvas at a pixel of its drawing area.
inline void pressAt(Program& program, int x, int y)
{
    program->Image1_MouseDown(1, 0, float(x * 15), float(y * 15));
}

} // namespace avatello::test
