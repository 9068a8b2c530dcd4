#include "window/form3.h"

#include <QResizeEvent>

#include "window/artwork.h"
#include "window/panel.h"
#include "window/lab_texts.h"
#include "window/texts.h"
#include "window/window_role.h"

namespace sp {

Form3::Form3(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(texts::kMagnifierCaption);
    setAccessibleName(texts::kMagnifierCaption);
    setWindowIcon(program_icon());
    // The magnifier writes its grid numbers in the window's own small font.
    panel_ = new Panel(this, kMagnifierFontName, kMagnifierFontPoints);
    panel_->setObjectName(QStringLiteral("Form3Surface"));
    panel_->setAccessibleName(lab::kMagnifierPicture);
    resize(250, 250);
    // Hidden windows get no resize events, yet the first layout draws on the magnifier.
    panel_->resize(size());
    panel_->fitSurface();
    name_as_window(this);
}

Surface& Form3::surface()
{
    return panel_->surface();
}

void Form3::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    panel_->resize(event->size());
    panel_->fitSurface();
    if (event->oldSize().isValid() && event->oldSize() != event->size())
        emit resized();
}

}  // namespace sp
