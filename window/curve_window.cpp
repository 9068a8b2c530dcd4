#include "window/curve_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "model/characteristics.h"
#include "model/number_format.h"
#include "platform/platform.h"
#include "qtdrawing/qt_drawing.h"
#include "window/lab_texts.h"
#include "window/results.h"
#include "window/texts.h"

namespace sp {
namespace {

constexpr int kMaxPoints = 100000;
constexpr double kMaxBeta = 1000;
constexpr double kNearEnough = 8;  // pixels from a point that still mean it

std::atomic<int> g_running_workers{0};

// A run that has not settled by its end (beating, a transient, chaos) is drawn hollow:
// it is not a point of a curve.
bool settled(const analysis::SweepRow& row)
{
    return row.whole && row.steady;
}

// Points arrive faster than a picture is worth drawing: they are drawn together at most
// every 40 ms, and at most a fifth of the window's time goes to drawing a long curve.
constexpr int kRefreshMs = 40;
constexpr int kRefreshShare = 5;

QString number(double v)
{
    return std::isfinite(v) ? QString::number(v, 'g', 6) : QStringLiteral("—");
}

}  // namespace

// ---------------------------------------------------------------------------------------

CurveComputation::CurveComputation(const Parameters& p, double from, double to, int points,
                                   QObject* parent)
    : QObject(parent), params_(p), from_(from), to_(to), points_(points)
{
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1U, 8U);
    for (unsigned i = 0; i < threads && static_cast<int>(i) < points; ++i)
        workers_.emplace_back([this] { work(); });
}

CurveComputation::~CurveComputation()
{
    cancel();
    for (std::thread& t : workers_)
        t.join();
}

void CurveComputation::cancel()
{
    cancelled_ = true;
}

int CurveComputation::runningWorkers()
{
    return g_running_workers.load();
}

void CurveComputation::work()
{
    ++g_running_workers;
    struct Leaving {
        ~Leaving() { --g_running_workers; }
    } leaving;
    for (int k = next_++; k < points_ && !cancelled_; k = next_++) {
        Parameters q = params_;
        q.beta = analysis::sweep_beta(from_, to_, points_, k);
        const analysis::SweepRow row = analysis::sweep_point(q, cancelled_);
        if (cancelled_)
            return;
        // Queued to this object's thread; the destructor joins before the object goes, so
        // the call is never posted to a dead object.
        QMetaObject::invokeMethod(
            this, [this, k, row] { emit pointReady(k, row); }, Qt::QueuedConnection);
    }
}

// ---------------------------------------------------------------------------------------

CurvePlot::CurvePlot(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("curvePlot"));
    setMouseTracking(true);
    setMinimumSize(300, 200);
    setAccessibleName(QStringLiteral("Амплитуды Ax и Ay в зависимости от β"));
    // The picture covers the widget; its texts are Qt's, as the tool's are.
    setAttribute(Qt::WA_OpaquePaintEvent);
    use_qt_text();
    refresh_.setSingleShot(true);
    refresh_.setInterval(kRefreshMs);
    connect(&refresh_, &QTimer::timeout, this, [this] {
        redraw();
        emit refreshed();
    });
}

void CurvePlot::redraw()
{
    QElapsedTimer clock;
    clock.start();
    picture_ = drawn(drawing_ratio(devicePixelRatioF()));
    frames_ = resonance_frames(picture_.size(), rows(), beta());
    refresh_.setInterval(std::max<int>(kRefreshMs, static_cast<int>(clock.elapsed()) * kRefreshShare));
    update();
}

Surface CurvePlot::drawn(double ratio) const
{
    Surface s(to_size(size()), kPanelFontName, kPlotFontPoints);
    s.resize(s.size(), ratio);
    resonance_plot(s, current_, rows(), beta());
    return s;
}

std::optional<Range> CurvePlot::beta() const
{
    return to_ > from_ ? std::optional(Range{from_, to_}) : std::nullopt;
}

void CurvePlot::start(const Parameters& p, double from, double to, int points)
{
    current_ = p;
    from_ = from;
    to_ = to;
    rows_.assign(static_cast<std::size_t>(points), std::nullopt);
    done_ = 0;
    refresh_.setInterval(kRefreshMs);
    redraw();
}

void CurvePlot::setPoint(int index, const analysis::SweepRow& row)
{
    if (index < 0 || index >= points())
        return;
    auto& slot = rows_[static_cast<std::size_t>(index)];
    if (!slot)
        ++done_;
    slot = row;
    if (!refresh_.isActive())
        refresh_.start();
}

std::vector<analysis::SweepRow> CurvePlot::rows() const
{
    std::vector<analysis::SweepRow> out;
    for (const auto& r : rows_)
        if (r)
            out.push_back(*r);
    return out;
}

QPointF CurvePlot::toScreen(double beta, double value) const
{
    const PointF q = frames_.swing_point(beta, value);
    return {q.x, q.y};
}

std::optional<QPointF> CurvePlot::position(int index) const
{
    if (index < 0 || index >= points() || !rows_[static_cast<std::size_t>(index)])
        return std::nullopt;
    const analysis::SweepRow& r = *rows_[static_cast<std::size_t>(index)];
    if (!std::isfinite(r.Ax))
        return std::nullopt;
    return toScreen(r.beta, r.Ax);
}

QString CurvePlot::describe(int index) const
{
    if (index < 0 || index >= points() || !rows_[static_cast<std::size_t>(index)])
        return {};
    const analysis::SweepRow& r = *rows_[static_cast<std::size_t>(index)];
    QString text = QStringLiteral("β = %1   Ax = %2   Ay = %3   φ = %4 рад")
                       .arg(number(r.beta), number(r.Ax), number(r.Ay), number(r.phase));
    if (!settled(r))
        text += QStringLiteral("   (колебания не установились)");
    return text;
}

std::optional<int> CurvePlot::pointAt(QPointF place) const
{
    std::optional<int> best;
    double best_d = kNearEnough;
    for (int k = 0; k < points(); ++k) {
        const auto& r = rows_[static_cast<std::size_t>(k)];
        if (!r)
            continue;
        for (const double v : {r->Ax, r->Ay}) {
            if (!std::isfinite(v))
                continue;
            const double d = QLineF(place, toScreen(r->beta, v)).length();
            if (d <= best_d) {
                best_d = d;
                best = k;
            }
        }
    }
    return best;
}

void CurvePlot::paintEvent(QPaintEvent* event)
{
    if (picture_.size() != to_size(size()) || picture_.device_pixel_ratio() != drawing_ratio(devicePixelRatioF()))
        redraw();
    QPainter painter(this);
    const QRect shown = event->rect() & QRect(QPoint(0, 0), to_qsize(picture_.size()));
    if (shown != event->rect() || picture_.image().null())
        painter.fillRect(event->rect(), Qt::white);
    if (shown.isEmpty() || picture_.image().null())
        return;
    const double r = picture_.device_pixel_ratio();
    painter.drawImage(QRectF(shown), qimage_view(picture_.image()),
                      QRectF(shown.x() * r, shown.y() * r, shown.width() * r, shown.height() * r));
}

void CurvePlot::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    redraw();
}

void CurvePlot::mouseMoveEvent(QMouseEvent* event)
{
    const auto k = pointAt(event->position());
    const QString text = k ? describe(*k) : QString();
    emit hovered(text);
    if (k)
        QToolTip::showText(event->globalPosition().toPoint(), text, this);
    else
        QToolTip::hideText();
}

void CurvePlot::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (const auto k = pointAt(event->position()))
        emit pointChosen(rows_[static_cast<std::size_t>(*k)]->beta);
}

// ---------------------------------------------------------------------------------------

CurveWindow::CurveWindow(Platform& platform, std::function<Parameters()> current, QWidget* parent)
    : QWidget(parent, Qt::Window), platform_(platform), current_(std::move(current))
{
    setObjectName(QStringLiteral("curveWindow"));
    setWindowTitle(lab::kCurveCaption);
    setAttribute(Qt::WA_DeleteOnClose, false);

    const auto field = [this](const char* name, const QString& text) {
        auto* edit = new QLineEdit(text, this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMaximumWidth(90);
        return edit;
    };
    from_ = field("curveFrom", QStringLiteral("0"));
    to_ = field("curveTo", QStringLiteral("2.5"));
    count_ = field("curvePoints", QStringLiteral("200"));
    calculate_ = new QPushButton(lab::kCalculate, this);
    calculate_->setObjectName(QStringLiteral("curveCalculate"));
    cancel_ = new QPushButton(lab::kCancel, this);
    cancel_->setObjectName(QStringLiteral("curveCancel"));
    cancel_->setEnabled(false);
    save_ = new QPushButton(lab::kSaveCurve, this);
    save_->setObjectName(QStringLiteral("curveSave"));
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("curveProgress"));
    progress_->setRange(0, 200);
    progress_->setValue(0);
    progress_->setFormat(QStringLiteral("%v из %m"));
    hover_ = new QLabel(this);
    hover_->setObjectName(QStringLiteral("curveHover"));
    plot_ = new CurvePlot(this);

    auto* fields = new QHBoxLayout;
    const auto labelled = [&](const QString& caption, QLineEdit* edit) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(edit);
        fields->addWidget(label);
        fields->addWidget(edit);
    };
    labelled(QStringLiteral("β от"), from_);
    labelled(QStringLiteral("до"), to_);
    labelled(QStringLiteral("точек"), count_);
    fields->addStretch();
    fields->addWidget(calculate_);
    fields->addWidget(cancel_);
    fields->addWidget(save_);
    auto* column = new QVBoxLayout(this);
    column->addLayout(fields);
    column->addWidget(progress_);
    column->addWidget(plot_, 1);
    column->addWidget(hover_);

    connect(calculate_, &QPushButton::clicked, this, &CurveWindow::calculate);
    connect(cancel_, &QPushButton::clicked, this, &CurveWindow::cancel);
    connect(save_, &QPushButton::clicked, this, &CurveWindow::save);
    connect(plot_, &CurvePlot::hovered, hover_, &QLabel::setText);
    // The bar repaints at once on every new value, so it follows the picture's pace.
    connect(plot_, &CurvePlot::refreshed, this, [this] { progress_->setValue(plot_->done()); });
    connect(plot_, &CurvePlot::pointChosen, this, &CurveWindow::betaChosen);
}

CurveWindow::~CurveWindow() = default;

void CurveWindow::calculate()
{
    const double from = read_number(from_->text().toStdString());
    const double to = read_number(to_->text().toStdString());
    const double count = read_number(count_->text().toStdString());
    if (!(from >= 0 && from <= to && to <= kMaxBeta && count >= 2 && count <= kMaxPoints)) {
        platform_.message(this, texts::kErrorTitle, lab::kCurveRange);
        return;
    }
    const int points = static_cast<int>(count);
    finish();  // a computation in progress gives way to the new one
    const Parameters p = current_();
    plot_->start(p, from, to, points);
    progress_->setRange(0, points);
    progress_->setValue(0);
    calculate_->setEnabled(false);
    cancel_->setEnabled(true);
    computation_ = new CurveComputation(p, from, to, points, this);
    connect(computation_, &CurveComputation::pointReady, this, &CurveWindow::arrived);
}

void CurveWindow::arrived(int index, const analysis::SweepRow& row)
{
    plot_->setPoint(index, row);
    if (plot_->done() == plot_->points()) {
        progress_->setValue(plot_->done());
        plot_->update();
        finish();
    }
    emit progressed(plot_->done(), plot_->points());
}

void CurveWindow::cancel()
{
    finish();
}

void CurveWindow::finish()
{
    if (computation_) {
        // Results already queued must not reach the picture of a later computation.
        computation_->cancel();
        disconnect(computation_, nullptr, this, nullptr);
        computation_->deleteLater();
        computation_ = nullptr;
    }
    calculate_->setEnabled(true);
    cancel_->setEnabled(false);
}

void CurveWindow::closeEvent(QCloseEvent* event)
{
    finish();
    QWidget::closeEvent(event);
}

void CurveWindow::save()
{
    const std::vector<analysis::SweepRow> rows = plot_->rows();
    if (rows.empty()) {
        platform_.message(this, lab::kCurveCaption, lab::kNoCurve);
        return;
    }
    QSettings settings = lab::settings();
    const QString folder = settings.value(lab::kLastFolderKey, QDir::homePath()).toString();
    const QString path = platform_.choose_save_file(
        this, lab::kSaveCurve, QDir(folder).filePath(QStringLiteral("resonance.png")),
        QStringLiteral("Рисунок PNG (*.png);;Таблица CSV (*.csv)"));
    if (path.isEmpty())
        return;
    settings.setValue(lab::kLastFolderKey, QFileInfo(path).absolutePath());
    QString why;
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        why = write_whole_file(path, sweep_csv(rows));
    } else {
        // Twice as fine as the window shows it, for printing.
        const Surface picture = plot_->drawn(2);
        const QImage image = qimage_view(picture.image());
        why = write_whole_file(path, [&](QIODevice& out) { return image.save(&out, "PNG"); });
    }
    if (!why.isEmpty())
        platform_.message(this, texts::kErrorTitle, lab::notWritten(path, why));
}

}  // namespace sp
