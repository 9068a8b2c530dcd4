#pragma once
// The resonance curve in a window of its own: for every β of a range, one whole run with
// the main window's other parameters, computed on background threads and drawn point by
// point as the runs finish. A point clicked hands its β back to the main window.

#include <QTimer>
#include <QWidget>

class QPainter;
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "analysis/sweep.h"
#include "model/parameters.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace sp {

class Platform;

// The runs of one curve. Worker threads take the next undone β until none is left or the
// computation is cancelled; every finished run reaches the owner's thread as a queued
// pointReady. Destroying it cancels and waits for the runs in flight, which give up within
// a thousand steps, so it never keeps the caller waiting noticeably.
class CurveComputation : public QObject {
    Q_OBJECT

public:
    CurveComputation(const Parameters& p, double from, double to, int points,
                     QObject* parent = nullptr);
    ~CurveComputation() override;
    void cancel();

    // Worker threads of all computations still running, for tests that a cancel ends them.
    static int runningWorkers();

signals:
    void pointReady(int index, const sp::analysis::SweepRow& row);

private:
    void work();

    Parameters params_;
    double from_;
    double to_;
    int points_;
    std::atomic<bool> cancelled_{false};
    std::atomic<int> next_{0};
    std::vector<std::thread> workers_;
};

// Ax and Ay against β, the linear theory dashed.
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

signals:
    void pointChosen(double beta);
    void hovered(const QString& text);
    // The picture was brought up to date with the points that have arrived.
    void refreshed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRectF plotArea() const;
    QRectF lagArea() const;
    double topValue() const;
    QPointF toScreen(double beta, double value) const;
    QPointF toLagScreen(double beta, double lag) const;
    void paintLag(QPainter& p);

    Parameters current_;  // of the curve being shown: the linear theory's lag needs them
    double from_ = 0;
    double to_ = 2.5;
    std::vector<std::optional<analysis::SweepRow>> rows_;
    int done_ = 0;
    QTimer refresh_;
};

class CurveWindow : public QWidget {
    Q_OBJECT

public:
    // `current` gives the main window's parameters when a computation starts.
    CurveWindow(Platform& platform, std::function<Parameters()> current, QWidget* parent = nullptr);
    ~CurveWindow() override;

    CurvePlot* plot() const { return plot_; }
    bool computing() const { return computation_ != nullptr; }

    void calculate();
    void cancel();
    void save();

signals:
    // The user chose the β of a point.
    void betaChosen(double beta);
    // Every point that has arrived, and the end of a computation; lets tests follow.
    void progressed(int done, int points);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void arrived(int index, const analysis::SweepRow& row);
    void finish();

    Platform& platform_;
    std::function<Parameters()> current_;
    QLineEdit* from_ = nullptr;
    QLineEdit* to_ = nullptr;
    QLineEdit* count_ = nullptr;
    QPushButton* calculate_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* save_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* hover_ = nullptr;
    CurvePlot* plot_ = nullptr;
    // Owned as a child: a cancelled one finishes its runs in flight and goes later, with
    // the window at the latest.
    CurveComputation* computation_ = nullptr;
};

}  // namespace sp
