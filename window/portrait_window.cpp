#include "window/portrait_window.h"

#include <QResizeEvent>
#include <QShortcut>

#include "qtdrawing/qt_drawing.h"
#include "window/artwork.h"
#include "window/fonts.h"
#include "window/panel.h"
#include "window/lab_texts.h"
#include "window/texts.h"
#include "window/window_role.h"

namespace sp {

PortraitWindow::PortraitWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("PortraitWindow"));
    setWindowTitle(texts::kPortraitCaption);
    setWindowIcon(program_icon());
    setAccessibleName(texts::kPortraitCaption);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    panel_ = new Panel(this, kPortraitFontName, kPortraitFontPoints);
    panel_->setObjectName(QStringLiteral("PortraitSurface"));
    panel_->setToolTip(lab::kPortraitPicture);
    panel_->setAccessibleName(panel_->toolTip());
    resize(320, 320);
    // Hidden windows get no resize events, yet the main window draws on it at once.
    panel_->resize(size());
    panel_->fitSurface();
    // A move to a screen of another ratio draws the empty portrait again at that ratio.
    connect(panel_, &Panel::ratioChanged, this, [this] {
        panel_->fitSurface();
        drawEmpty();
    }, Qt::QueuedConnection);
    name_as_window(this);
}

Surface& PortraitWindow::surface()
{
    return panel_->surface();
}

void PortraitWindow::redraw(const Parameters& p, const Characteristics& c, const Extents& e)
{
    portrait_.clear(panel_->surface(), p, c, e, fonts::decimal_point());
    panel_->sync();
}

void PortraitWindow::drawEmpty()
{
    portrait_.clear(panel_->surface());
    panel_->sync();
}

void PortraitWindow::drawStep(const RunState& before, const RunState& after)
{
    portrait_.step(panel_->surface(), before, after);
}

void PortraitWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    panel_->resize(event->size());
    // The portrait alone is drawn again, empty, at its new size; a run goes on into it.
    const bool resized = panel_->surface().size() != to_size(event->size());
    panel_->fitSurface();
    if (resized)
        drawEmpty();
}

}  // namespace sp
