#pragma once

#include "imageio/templates.h"
#include "model/picturebox.h"

#include <array>
#include <QWidget>

namespace avatello {

class IconDocument;
class PictureBoxView;

// The template gallery: twelve tiles, each a picture box showing one built-in picture. Choosing a
// tile puts what it shows on the main window's canvas and closes the gallery for good.
class Form5 : public QWidget
{
    Q_OBJECT

public:
    static constexpr int tileCount = templateCount;

    // The owner is the main window: the gallery takes its icon and opens centred over it.
    Form5(IconDocument& document, QWidget& owner);

    // The tiles, numbered as in the gallery: three rows of five, five and two.
    PictureBox Picture1;
    PictureBox Picture2;
    PictureBox Picture3;
    PictureBox Picture4;
    PictureBox Picture5;
    PictureBox Picture6;
    PictureBox Picture7;
    PictureBox Picture8;
    PictureBox Picture9;
    PictureBox Picture10;
    PictureBox Picture11;
    PictureBox Picture12;

    // Tile n (1 to 12) and the control that shows it.
    PictureBox& tile(int n) { return *tiles_.at(std::size_t(n - 1)); }
    PictureBoxView* tileView(int n) const { return views_.at(std::size_t(n - 1)); }

private:
    void Form_Load();

    // Tiles 1 to 11 are chosen by a double-click; tile 12 by a single click.
    void Picture1_DblClick() { choose(1); }
    void Picture2_DblClick() { choose(2); }
    void Picture3_DblClick() { choose(3); }
    void Picture4_DblClick() { choose(4); }
    void Picture5_DblClick() { choose(5); }
    void Picture6_DblClick() { choose(6); }
    void Picture7_DblClick() { choose(7); }
    void Picture8_DblClick() { choose(8); }
    void Picture9_DblClick() { choose(9); }
    void Picture10_DblClick() { choose(10); }
    void Picture11_DblClick() { choose(11); }
    void Picture12_Click() { choose(12); }

    void choose(int n);

    IconDocument& document_;
    QWidget& owner_;
    std::array<PictureBox*, tileCount> tiles_;
    std::array<PictureBoxView*, tileCount> views_{};
    bool chosen_ = false; // a choice was made; the window is on its way out
};

} // namespace avatello
