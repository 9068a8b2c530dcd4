#pragma once
// The resonance curve in a window of its own: for every β of a range, one whole run with
// the main window's other parameters, computed on background threads and drawn point by
// point as the runs finish. A point clicked hands its β back to the main window.

#include <QElapsedTimer>
#include <QImage>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "analysis/sweep.h"
#include "drawing/lab_plots.h"
#include "drawing/surface.h"
#include "model/parameters.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace sp {

class Platform;

// The runs of one curve, on the analysis pool: a thread of its own hands the indices to
// the pool, whose threads take the next undone β until none is left or the computation is
// cancelled. A cancel gives up the runs in progress as well (each run's walk asks the flag
// every thousand steps), so the processors are free again at once. Finished runs are
// collected and handed over in batches: one queued `arrived` at a time, however many runs
// end meanwhile, so a curve of many short runs never floods the window's event loop.
// Destroying it cancels and waits for the runs in progress to give up.
class CurveComputation : public QObject {
    Q_OBJECT

public:
    struct Point {
        int index;
        analysis::SweepRow row;
    };

    CurveComputation(const Parameters& p, double from, double to, int points,
                     QObject* parent = nullptr);
    ~CurveComputation() override;
    void cancel();
    // The runs finished since the last call.
    std::vector<Point> take();

    // Runs in progress in all computations, and the runs given up by a cancel so far: for
    // tests and measurements that a cancel ends the runs and not only their results.
    static int runsInProgress();
    static int runsGivenUp();

signals:
    // Runs have finished; take() hands them over.
    void arrived();

private:
    void deliver(int index, const analysis::SweepRow& row);

    Parameters params_;
    double from_;
    double to_;
    int points_;
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    std::vector<Point> finished_;  // guarded by mutex_
    std::thread driver_;
};

// Ax and Ay against β, the linear theory dashed, and the lag below: the resonance picture the
// tool writes, drawn at the widget's size once for each change of the points and painted
// from that image.
class CurvePlot : public QWidget {
    Q_OBJECT

public:
    explicit CurvePlot(QWidget* parent = nullptr);

    void start(const Parameters& p, double from, double to, int points);
    void setPoint(int index, const analysis::SweepRow& row);
    // The rows computed so far, in β order.
    std::vector<analysis::SweepRow> rows() const;
    int done() const { return done_; }
    int points() const { return static_cast<int>(rows_.size()); }

    // Where point `index` is drawn (its Ax), and what hovering it tells.
    std::optional<QPointF> position(int index) const;
    QString describe(int index) const;
    // The point nearest to a place on the plot, if one is close enough to mean it.
    std::optional<int> pointAt(QPointF place) const;

    QSize sizeHint() const override { return {560, 460}; }

    // Draws the picture anew from the points so far (the timer does it as they arrive).
    void redraw();
    const Surface& picture() const { return picture_; }
    // The same picture at `ratio` times the pixels, for saving.
    Surface drawn(double ratio) const;

signals:
    void pointChosen(double beta);
    void hovered(const QString& text);
    // The picture was brought up to date with the points that have arrived.
    void refreshed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointF toScreen(double beta, double value) const;
    // The β range asked for, when it is one.
    std::optional<Range> beta() const;

    Parameters current_;  // of the curve being shown: the linear theory and the captions
    double from_ = 0;
    double to_ = 2.5;
    std::vector<std::optional<analysis::SweepRow>> rows_;
    int done_ = 0;
    QTimer refresh_;
    Surface picture_;
    ResonanceFrames frames_;
};

class CurveWindow : public QWidget {
    Q_OBJECT

public:
    // `current` gives the main window's parameters when a computation starts.
    CurveWindow(Platform& platform, std::function<Parameters()> current, QWidget* parent = nullptr);
    ~CurveWindow() override;

    CurvePlot* plot() const { return plot_; }
    bool computing() const { return computation_ != nullptr; }
    // The curve shown was computed for other parameters than the main window's now.
    bool stale() const { return stale_; }

    void calculate();
    void cancel();
    void save();
    // The main window's parameters may have changed: the curve is marked out of date when
    // they no longer match the ones it was computed for.
    void compareParameters();

signals:
    // The user chose the β of a point.
    void betaChosen(double beta);
    // Every batch of points that has arrived, and the end of a computation; lets tests follow.
    void progressed(int done, int points);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::optional<double> readField(const QLineEdit* edit, const QString& caption);
    void arrived();
    void finish();
    void showNote();

    Platform& platform_;
    std::function<Parameters()> current_;
    QLineEdit* from_ = nullptr;
    QLineEdit* to_ = nullptr;
    QLineEdit* count_ = nullptr;
    QPushButton* calculate_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* save_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* note_ = nullptr;
    QLabel* hover_ = nullptr;
    CurvePlot* plot_ = nullptr;
    // Owned as a child: a cancelled one gives up its runs in progress and goes later, with
    // the window at the latest.
    CurveComputation* computation_ = nullptr;
    std::optional<Parameters> computed_;  // the parameters of the curve shown
    bool stale_ = false;
};

// The whole picture of a curve as saved: the plot at twice its resolution with the lines
// below it that say what it is (for which parameters, computed whole or not).
QImage curve_picture(const QImage& picture, const QFont& font, const QStringList& notes);

}  // namespace sp
