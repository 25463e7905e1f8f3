#include "ui/qt/calculator/fonts.h"

#include <QStringList>

namespace korvale::ui::qt {

QFont fontFor(const FontDescription& font) {
  QFont qfont;
  // Every family named here that the machine lacks costs a font-configuration lookup at start-up,
  // so the list stays short: the face itself, then the Song-style faces Linux desktops ship.
  qfont.setFamilies(
      {QString::fromUtf8(font.faceName.data(), static_cast<qsizetype>(font.faceName.size())),
       "Noto Serif CJK SC", "AR PL UMing CN"});
  qfont.setPointSizeF(font.pointSize);
  qfont.setWeight(font.weight >= 700 ? QFont::Bold : QFont::Normal);
  return qfont;
}

}  // namespace korvale::ui::qt
