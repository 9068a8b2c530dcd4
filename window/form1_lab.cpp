// The laboratory commands: the guide's experiments as presets, the resonance curve, saving
// the pictures and the numbers of a run, and the documents that say why they did not open.

#include <QAction>
#include <QLabel>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScrollBar>

#include "model/number_format.h"
#include "qtdrawing/qt_drawing.h"
#include "platform/platform.h"
#include "window/curve_window.h"
#include "window/experiments.h"
#include "window/fonts.h"
#include "window/form1.h"
#include "window/form3.h"
#include "window/lab_texts.h"
#include "window/panel.h"
#include "window/results.h"
#include "window/texts.h"

namespace sp {

// Names for screen readers where the control shows no words of its own: the four bars
// and the bare number beside the slow-down bar.
void Form1::nameForAssistiveTechnology()
{
    VScroll1_->setAccessibleName(QStringLiteral("Масштаб графика X(t) по вертикали"));
    VScroll2_->setAccessibleName(QStringLiteral("Масштаб графика Y(t) по вертикали"));
    HScroll1_->setAccessibleName(QStringLiteral("Замедление времени"));
    HScroll2_->setAccessibleName(QStringLiteral("Масштаб лупы"));
    Label21_->setAccessibleName(Label21_->toolTip());
    Label21_->setAccessibleDescription(QStringLiteral("Во сколько раз замедлен показ движения"));
}

void Form1::createLabMenus(QMenu* file)
{
    file->addSeparator();
    QAction* figures = file->addAction(lab::kSaveFigures, this, &Form1::saveFigures);
    figures->setObjectName(QStringLiteral("mnuFileSaveFigures"));
    QAction* run = file->addAction(lab::kSaveRun, this, &Form1::saveRun);
    run->setObjectName(QStringLiteral("mnuFileSaveRun"));

    QMenu* experiments = menuBar()->addMenu(lab::kExperimentsMenu);
    experiments->setObjectName(QStringLiteral("mnuExperiments"));
    for (const Experiment& e : builtin_experiments().rows) {
        QAction* item = experiments->addAction(e.title, this, [this, &e] { applyExperiment(e); });
        item->setObjectName(QStringLiteral("mnuExperiment_") + e.key);
        presetActions_.append(item);
    }
    experiments->addSeparator();
    QAction* start = experiments->addAction(lab::kStartValues, this, &Form1::applyStartValues);
    start->setObjectName(QStringLiteral("mnuExperimentsStart"));
    presetActions_.append(start);
    experiments->addSeparator();
    QAction* curve = experiments->addAction(lab::kCurveItem, this, &Form1::showCurveWindow);
    curve->setObjectName(QStringLiteral("mnuExperimentsCurve"));
    experiments->addAction(mnuExperimentsPortrait_);
}

void Form1::applyExperiment(const Experiment& e)
{
    if (runActive_)
        return;
    // Each field goes through its own entry handling, warnings and normalising included;
    // only the re-layouts they ask for are held back and done once at the end.
    layoutsDeferred_ = true;
    layoutPending_ = false;
    for (const ParamId id : kFieldOrder)
        field(id)->setText(e.texts[static_cast<std::size_t>(id)]);
    (e.time_graphs ? Option2_ : Option1_)->setChecked(true);
    show_graphs();
    VScroll1_->setValue(e.zoom_xt);
    VScroll2_->setValue(e.zoom_yt);
    layoutsDeferred_ = false;
    if (layoutPending_)
        Form_Resize();
    layoutPending_ = false;
}

void Form1::applyStartValues()
{
    const Settings start = sp::defaults();
    Experiment e;
    for (const ParamId id : kFieldOrder)
        e.texts[static_cast<std::size_t>(id)] = QString::fromStdString(
            format_field(value_of(start.params, id), field_decimals(id)));
    e.zoom_xt = start.scales.k_xt;
    e.zoom_yt = static_cast<int>(start.scales.k_yt);
    applyExperiment(e);
}

bool Form1::chooseBeta(double beta)
{
    if (runActive_ || !field(ParamId::beta)->isEnabled())
        return false;
    field(ParamId::beta)->setText(
        QString::fromStdString(format_field(beta, field_decimals(ParamId::beta))));
    return true;
}

void Form1::showCurveWindow()
{
    if (!curveWindow_) {
        curveWindow_ = new CurveWindow(platform_, [this] { return settings_.params; }, this);
        connect(curveWindow_, &CurveWindow::betaChosen, this, &Form1::chooseBeta);
        curveWindow_->resize(640, 460);
    }
    curveWindow_->show();
    curveWindow_->raise();
    curveWindow_->activateWindow();
}

QString Form1::lastFolder() const
{
    return lab::settings().value(lab::kLastFolderKey, QDir::homePath()).toString();
}

void Form1::rememberFolder(const QString& folder)
{
    lab::settings().setValue(lab::kLastFolderKey, folder);
}

// The pictures as they stand, drawn again at twice the screen's resolution: the empty
// pictures of the last re-layout and the steps drawn on them since.
void Form1::saveFigures()
{
    const QString folder = platform_.choose_folder(this, lab::kSaveFigures, lastFolder());
    if (folder.isEmpty())
        return;
    rememberFolder(folder);
    ensureMagnifier();
    const std::array<QSize, 5> sizes = {
        to_qsize(pictures_[0]->surface().size()), to_qsize(pictures_[1]->surface().size()),
        to_qsize(pictures_[2]->surface().size()), to_qsize(pictures_[3]->surface().size()),
        to_qsize(form3_->surface().size())};
    const std::array<QImage, 5> images = draw_pictures(settings_, sizes, blt_, drawnSteps_,
                                                       2 * devicePixelRatioF(), fonts::decimal_point());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const QString path = QDir(folder).filePath(QString::fromLatin1(kPictureFiles[i]));
        const QString why = write_whole_file(
            path, [&](QIODevice& out) { return images[i].save(&out, "PNG"); });
        if (!why.isEmpty()) {
            platform_.message(this, texts::kErrorTitle, lab::notWritten(path, why));
            return;
        }
    }
}

// The run shown, the current one or the last: its steps so far, as the companion tool
// prints that run.
void Form1::saveRun()
{
    if (runSteps_ < 0) {
        platform_.message(this, lab::kSaveRun, lab::kNoRun);
        return;
    }
    const Parameters params = runParams_;
    const std::int64_t steps = runSteps_;
    const QString path = platform_.choose_save_file(
        this, lab::kSaveRun, QDir(lastFolder()).filePath(QStringLiteral("run.csv")),
        QStringLiteral("Таблица CSV (*.csv)"));
    if (path.isEmpty())
        return;
    rememberFolder(QFileInfo(path).absolutePath());
    const QString why = write_whole_file(path, run_csv(params, steps));
    if (!why.isEmpty())
        platform_.message(this, texts::kErrorTitle, lab::notWritten(path, why));
}

void Form1::openDocument(const QString& name, bool text)
{
    const Opened opened = text ? platform_.edit_text(name) : platform_.open_document(name);
    if (opened == Opened::Missing)
        platform_.message(this, texts::kErrorTitle, lab::documentMissing(name));
    else if (opened == Opened::NoViewer)
        platform_.message(this, texts::kErrorTitle, lab::documentNoViewer(name));
}

}  // namespace sp
