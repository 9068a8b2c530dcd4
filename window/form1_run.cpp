// Starting and stopping a run, and what the run loop asks of the window. The run itself
// executes inside the start button's click: every other handler, the stop click among
// them, runs inside the pause between two steps.

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "simulation/pacing.h"
#include "window/form1.h"
#include "window/form3.h"
#include "window/panel.h"
#include "window/laboratory.h"
#include "window/texts.h"

namespace sp {
namespace {

// A window whose border may not be dragged while a run draws in it.
void setResizable(QWidget* window, bool resizable)
{
    if (resizable) {
        window->setMinimumSize(0, 0);
        window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        window->setFixedSize(window->size());
    }
}

}  // namespace

void Form1::CmdOK_Click()
{
    if (CmdOK_->text() == texts::kStop) {
        CmdOK_->setText(texts::kStart);
        setRunningLook(false);
        return;
    }
    // A start click while a stopped run is still finishing its step is not a new run:
    // that run has yet to sound its tone and free the controls.
    if (runActive_)
        return;
    CmdOK_->setText(texts::kStop);
    lockForRun(true);
    Form_Resize();
    ensureMagnifier();
    setRunningLook(true);
    runParams_ = settings_.params;
    runSteps_ = 0;
    runLastT_ = 0;
    runActive_ = true;
    raschet(*this);
    runActive_ = false;
}

void Form1::lockForRun(bool locked)
{
    for (const ParamId id : kFieldOrder)
        if (id != ParamId::Tmax)
            field(id)->setEnabled(!locked);
    HScroll2_->setEnabled(!locked);
    VScroll1_->setEnabled(!locked);
    VScroll2_->setEnabled(!locked);
    Command1_->setEnabled(!locked);
    lab_->lockForRun(locked);
}

void Form1::setRunningLook(bool running)
{
    setResizable(this, !running);
    setWindowTitle(running ? texts::kRunningCaption : texts::kMainCaption);
    setResizable(form3_, !running);
    form3_->setWindowTitle(running ? texts::kRunningCaption : texts::kMagnifierCaption);
}

bool Form1::runCaptionIsStop() const
{
    return CmdOK_->text() == texts::kStop;
}

Pictures Form1::pictures()
{
    return {pictures_[0]->surface(), pictures_[1]->surface(), pictures_[2]->surface(),
            pictures_[3]->surface(), form3_->surface()};
}

void Form1::drawPhase(const RunState& before, const RunState& after)
{
    runLastT_ = after.t;
    lab_->drawStep(before, after);
}

void Form1::showDrawn()
{
    ++drawnSteps_;
    ++runSteps_;
    syncPanels();
    emit stepDrawn();
}

void Form1::Wait(double seconds)
{
    sp::Wait(*Timer1_, seconds);
}

void Form1::endOfRun()
{
    CmdOK_->setText(texts::kStart);
    lockForRun(false);
    setRunningLook(false);
}

std::optional<Form1::ShownRun> Form1::shownRun() const
{
    if (runSteps_ < 0)
        return std::nullopt;
    return ShownRun{runParams_, runSteps_, runLastT_};
}

}  // namespace sp
