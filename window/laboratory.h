#pragma once
// The laboratory beside the main window: the experiments menu and its presets, the
// resonance curve, the phase portrait, and the saving of the pictures and of a run. The
// main window keeps its controls and its run; the laboratory works them only through what
// the main window offers it (entries as if typed, the pictures' sizes, the run shown), and
// the main window tells it of every re-layout and every step.

#include <QList>
#include <QObject>

#include "model/characteristics.h"
#include "model/extents.h"
#include "model/oscillator.h"

class QAction;
class QMenu;

namespace sp {

class CurveWindow;
struct Experiment;
class Form1;
class Platform;
class PortraitWindow;

class Laboratory : public QObject {
    Q_OBJECT

public:
    Laboratory(Form1& form, Platform& platform);

    // The two save items at the end of «Файл», and the «Опыты» menu after it.
    void createMenus(QMenu* file);

    // An experiment's values go into the fields as if typed, the graph choice and the zoom
    // bars are set, and the pictures are redrawn once. Not during a run.
    void applyExperiment(const Experiment& e);
    void applyStartValues();
    // Writes a β chosen on the resonance curve into its field; not during a run.
    bool chooseBeta(double beta);

    CurveWindow* curveWindow() const { return curve_; }
    void showCurveWindow();
    // The phase portrait, once opened from the menu; null before.
    PortraitWindow* portrait() const { return portrait_; }
    void showPortrait();

    void saveFigures();
    void saveRun();

    // What the main window tells: a run began or ended (the presets wait for its end), the
    // pictures were cleared for these values, a step was drawn, its panels are shown, the
    // program ends.
    void lockForRun(bool locked);
    void redrawn(const Parameters& p, const Characteristics& c, const Extents& e);
    void drawStep(const RunState& before, const RunState& after);
    void sync();
    void closeWindows();

private:
    Form1& form_;
    Platform& platform_;
    QList<QAction*> presets_;  // disabled during a run, like the fields
    CurveWindow* curve_ = nullptr;
    PortraitWindow* portrait_ = nullptr;
};

}  // namespace sp
