#pragma once
// The program's own pictures, painted in code so that no binary asset has to be kept:
// the window icon and the picture of the authors' window.

#include <QIcon>
#include <QPixmap>

namespace sp {

QIcon program_icon();
QPixmap authors_picture();  // 150 × 180

}  // namespace sp
