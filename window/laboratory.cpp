#include "window/laboratory.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <limits>

#include "drawing/lab_plots.h"
#include "model/number_format.h"
#include "platform/platform.h"
#include "window/curve_window.h"
#include "window/experiments.h"
#include "window/fonts.h"
#include "window/form1.h"
#include "window/form3.h"
#include "window/lab_texts.h"
#include "window/panel.h"
#include "window/placement.h"
#include "window/portrait_window.h"
#include "window/results.h"
#include "window/texts.h"

namespace sp {
namespace {

QString lastFolder()
{
    return lab::settings().value(lab::kLastFolderKey, QDir::homePath()).toString();
}

void rememberFolder(const QString& folder)
{
    lab::settings().setValue(lab::kLastFolderKey, folder);
}

}  // namespace

Laboratory::Laboratory(Form1& form, Platform& platform)
    : QObject(&form), form_(form), platform_(platform)
{
    setObjectName(QStringLiteral("laboratory"));
}

void Laboratory::createMenus(QMenu* file)
{
    file->addSeparator();
    QAction* figures = file->addAction(lab::kSaveFigures, this, &Laboratory::saveFigures);
    figures->setObjectName(QStringLiteral("mnuFileSaveFigures"));
    QAction* run = file->addAction(lab::kSaveRun, this, &Laboratory::saveRun);
    run->setObjectName(QStringLiteral("mnuFileSaveRun"));

    QMenu* experiments = form_.menuBar()->addMenu(lab::kExperimentsMenu);
    experiments->setObjectName(QStringLiteral("mnuExperiments"));
    for (const Experiment& e : builtin_experiments().rows) {
        QAction* item = experiments->addAction(e.title, this, [this, &e] { applyExperiment(e); });
        item->setObjectName(QStringLiteral("mnuExperiment_") + e.key);
        presets_.append(item);
    }
    experiments->addSeparator();
    QAction* start = experiments->addAction(lab::kStartValues, this, &Laboratory::applyStartValues);
    start->setObjectName(QStringLiteral("mnuExperimentsStart"));
    presets_.append(start);
    experiments->addSeparator();
    QAction* curve = experiments->addAction(lab::kCurveItem, this, &Laboratory::showCurveWindow);
    curve->setObjectName(QStringLiteral("mnuExperimentsCurve"));
    // Harmless during a run: made then, the portrait draws from the next step on.
    QAction* portrait = experiments->addAction(texts::kPortraitCaption, this, &Laboratory::showPortrait);
    portrait->setObjectName(QStringLiteral("mnuExperimentsPortrait"));
}

void Laboratory::applyExperiment(const Experiment& e)
{
    if (form_.runActive())
        return;
    form_.enterPreset(e);
}

void Laboratory::applyStartValues()
{
    const Settings start = sp::defaults();
    Experiment e;
    for (const ParamId id : kFieldOrder) {
        const auto i = static_cast<std::size_t>(id);
        e.exact[i] = value_of(start.params, id);
        e.texts[i] = QString::fromStdString(format_field(*e.exact[i], field_decimals(id)));
    }
    e.zoom_xt = start.scales.k_xt;
    e.zoom_yt = static_cast<int>(start.scales.k_yt);
    applyExperiment(e);
}

bool Laboratory::chooseBeta(double beta)
{
    return form_.enterBeta(beta);
}

void Laboratory::showCurveWindow()
{
    if (!curve_) {
        curve_ = new CurveWindow(platform_, [this] { return form_.settings().params; }, &form_);
        connect(curve_, &CurveWindow::betaChosen, this, &Laboratory::chooseBeta);
        // Every change of a parameter lays the main window out again.
        connect(&form_, &Form1::laidOut, curve_, &CurveWindow::compareParameters);
        // Wide enough for the picture's parameter and caption lines, as the tool prints them.
        curve_->resize(kLabPlotWidth, 720);
    }
    curve_->show();
    curve_->raise();
    curve_->activateWindow();
}

// Opens the portrait beside the main window, under the magnifier's place.
void Laboratory::showPortrait()
{
    if (!portrait_) {
        portrait_ = new PortraitWindow(&form_);
        portrait_->redraw(form_.settings().params, form_.characteristics(), form_.extents());
    }
    if (!portrait_->isVisible()) {
        const QPoint beside = magnifier_position(form_.frameGeometry());
        const int below = form_.magnifier() ? form_.magnifier()->frameGeometry().height() : 0;
        portrait_->move(beside + QPoint(0, below));
    }
    portrait_->show();
    portrait_->raise();
}

void Laboratory::lockForRun(bool locked)
{
    for (QAction* preset : presets_)
        preset->setEnabled(!locked);
}

void Laboratory::redrawn(const Parameters& p, const Characteristics& c, const Extents& e)
{
    if (portrait_)
        portrait_->redraw(p, c, e);
}

void Laboratory::drawStep(const RunState& before, const RunState& after)
{
    // Drawn while hidden too, like the magnifier: opened again, it shows the run so far.
    if (portrait_)
        portrait_->drawStep(before, after);
}

void Laboratory::sync()
{
    if (portrait_)
        portrait_->panel()->sync();
}

void Laboratory::closeWindows()
{
    if (curve_)
        curve_->close();  // its runs are given up, not waited for
    if (portrait_)
        portrait_->close();
}

// The pictures as they stand, drawn again at twice the screen's resolution: the empty
// pictures of the last re-layout and the steps drawn on them since.
void Laboratory::saveFigures()
{
    const QString folder = platform_.choose_folder(&form_, lab::kSaveFigures, lastFolder());
    if (folder.isEmpty())
        return;
    rememberFolder(folder);
    const auto files = draw_pictures(form_.settings(), form_.pictureSizes(), form_.copyRects(),
                                     form_.drawnSteps(), 2 * form_.devicePixelRatioF(), fonts::decimal_point());
    const analysis::SetReport report = analysis::write_file_set(QFile::encodeName(folder).toStdString(), files);
    if (!report.ok())
        platform_.message(&form_, texts::kErrorTitle, lab::figuresNotWritten(folder, report));
}

// The run shown, the current one or the last: its steps so far, as the companion tool
// prints that run.
void Laboratory::saveRun()
{
    const std::optional<Form1::ShownRun> shown = form_.shownRun();
    if (!shown) {
        platform_.message(&form_, lab::kSaveRun, lab::kNoRun);
        return;
    }
    // The run's steps are written whatever the computation time says now: a Tmax edited
    // during the run moved its end, and the steps taken before are what was computed.
    Parameters params = shown->params;
    params.Tmax = std::numeric_limits<float>::max();
    const bool tmaxEdited = shown->params.Tmax != form_.settings().params.Tmax;
    const QString path = platform_.choose_save_file(
        &form_, lab::kSaveRun, QDir(lastFolder()).filePath(QStringLiteral("run.csv")), lab::kRunFilter);
    if (path.isEmpty())
        return;
    rememberFolder(QFileInfo(path).absolutePath());
    const QString why = write_whole_file(path, run_csv(params, shown->steps));
    if (!why.isEmpty())
        platform_.message(&form_, texts::kErrorTitle, lab::notWritten(path, why));
    else if (tmaxEdited)
        platform_.message(&form_, lab::kSaveRun,
                          lab::runHolds(shown->steps, QString::number(static_cast<double>(shown->last_t), 'g', 7)));
}

}  // namespace sp
