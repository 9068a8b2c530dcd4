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
#include <QShortcut>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "model/characteristics.h"
#include "model/entry.h"
#include "model/number_format.h"
#include "platform/platform.h"
#include "qtdrawing/qt_drawing.h"
#include "window/lab_texts.h"
#include "window/results.h"
#include "window/texts.h"
#include "window/window_role.h"

namespace sp {
namespace {

constexpr int kMaxPoints = 100000;
constexpr double kMaxBeta = 1000;
constexpr double kNearEnough = 8;  // pixels from a point that still mean it

std::atomic<int> g_runs_in_progress{0};
std::atomic<int> g_runs_given_up{0};

// A run that has not settled by its end (beating, a transient, chaos) is drawn hollow:
// it is not a point of a curve.
bool settled(const analysis::SweepRow& row)
{
    return row.whole && row.steady;
}

// Points arrive faster than a picture is worth drawing: they are drawn together at most
// every 100 ms (ten pictures a second, as the page draws them), and at most a fifth of the
// window's time goes to drawing a long curve: the window costs little beside the runs.
constexpr int kRefreshMs = 100;
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
    // As many threads as the tool's --sweep takes by default, and the same pool.
    const unsigned threads = std::min(std::max(std::thread::hardware_concurrency(), 1U), analysis::kMaxThreads);
    driver_ = std::thread([this, threads] {
        analysis::for_each_index(points_, threads, [this](std::int64_t k, bool) {
            if (cancelled_.load(std::memory_order_relaxed))
                return;  // the indices left drain at once
            Parameters q = params_;
            q.beta = analysis::sweep_beta(from_, to_, points_, k);
            g_runs_in_progress.fetch_add(1);
            const analysis::SweepRow row = analysis::sweep_point(q, cancelled_);
            const bool given_up = cancelled_.load() && !row.whole;
            g_runs_in_progress.fetch_sub(1);
            if (given_up)
                g_runs_given_up.fetch_add(1);
            else if (!cancelled_.load())
                deliver(static_cast<int>(k), row);
        });
    });
}

CurveComputation::~CurveComputation()
{
    cancel();
    driver_.join();
}

void CurveComputation::cancel()
{
    cancelled_ = true;
}

int CurveComputation::runsInProgress()
{
    return g_runs_in_progress.load();
}

int CurveComputation::runsGivenUp()
{
    return g_runs_given_up.load();
}

void CurveComputation::deliver(int index, const analysis::SweepRow& row)
{
    bool first = false;
    {
        const std::lock_guard lock(mutex_);
        first = finished_.empty();
        finished_.push_back({index, row});
    }
    // Only the first run of a batch posts; the destructor joins the pool before the object
    // goes, so nothing is ever posted to a dead object.
    if (first)
        QMetaObject::invokeMethod(this, &CurveComputation::arrived, Qt::QueuedConnection);
}

std::vector<CurveComputation::Point> CurveComputation::take()
{
    const std::lock_guard lock(mutex_);
    return std::exchange(finished_, {});
}

// ---------------------------------------------------------------------------------------

CurvePlot::CurvePlot(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("curvePlot"));
    setMouseTracking(true);
    setMinimumSize(300, 200);
    setAccessibleName(lab::kCurvePlotName);
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
    QString text = lab::curvePoint(number(r.beta), number(r.Ax), number(r.Ay), number(r.phase));
    if (!settled(r))
        text += lab::kUnsettled;
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
    setAccessibleName(lab::kCurveCaption);
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
    progress_->setAccessibleName(lab::kCurveProgressName);
    progress_->setRange(0, 200);
    progress_->setValue(0);
    progress_->setFormat(lab::kCurveProgressFormat);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("curveNote"));
    note_->setWordWrap(true);
    note_->setStyleSheet(QStringLiteral("color: #A00000"));
    note_->hide();
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
    labelled(lab::kCurveFrom, from_);
    labelled(lab::kCurveTo, to_);
    labelled(lab::kCurvePoints, count_);
    fields->addStretch();
    fields->addWidget(calculate_);
    fields->addWidget(cancel_);
    fields->addWidget(save_);
    auto* column = new QVBoxLayout(this);
    column->addLayout(fields);
    column->addWidget(progress_);
    column->addWidget(note_);
    column->addWidget(plot_, 1);
    column->addWidget(hover_);

    connect(calculate_, &QPushButton::clicked, this, &CurveWindow::calculate);
    connect(cancel_, &QPushButton::clicked, this, &CurveWindow::cancel);
    connect(save_, &QPushButton::clicked, this, &CurveWindow::save);
    connect(plot_, &CurvePlot::hovered, hover_, &QLabel::setText);
    // The bar repaints at once on every new value, so it follows the picture's pace.
    connect(plot_, &CurvePlot::refreshed, this, [this] { progress_->setValue(plot_->done()); });
    connect(plot_, &CurvePlot::pointChosen, this, &CurveWindow::betaChosen);
    // Escape closes the window, and closing gives up a computation in progress.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    name_as_window(this);
}

CurveWindow::~CurveWindow() = default;

// A field is read as the main window reads its fields (blanks skipped wherever they stand,
// a point for the decimals, E or D for the exponent), but here only a text that is wholly
// a finite number is accepted: a curve of a misread range would cost minutes for nothing.
std::optional<double> CurveWindow::readField(const QLineEdit* edit, const QString& caption)
{
    if (const std::optional<double> v = read_whole_number(edit->text().toStdString()))
        return v;
    platform_.message(this, texts::kErrorTitle, lab::notANumber(caption, edit->text()));
    return std::nullopt;
}

void CurveWindow::calculate()
{
    const std::optional<double> from = readField(from_, lab::kCurveFrom);
    if (!from)
        return;
    const std::optional<double> to = readField(to_, lab::kCurveTo);
    if (!to)
        return;
    const std::optional<double> count = readField(count_, lab::kCurvePoints);
    if (!count)
        return;
    if (*count != std::floor(*count)) {
        platform_.message(this, texts::kErrorTitle, lab::notWhole(lab::kCurvePoints, count_->text()));
        return;
    }
    if (!(*from >= 0 && *from <= *to && *to <= kMaxBeta && *count >= 2 && *count <= kMaxPoints)) {
        platform_.message(this, texts::kErrorTitle, lab::kCurveRange);
        return;
    }
    const int points = static_cast<int>(*count);
    finish();  // a computation in progress gives way to the new one
    const Parameters p = current_();
    computed_ = p;
    stale_ = false;
    plot_->start(p, *from, *to, points);
    // The read-out of the old curve's point goes with that curve.
    hover_->clear();
    QToolTip::hideText();
    progress_->setRange(0, points);
    progress_->setValue(0);
    calculate_->setEnabled(false);
    cancel_->setEnabled(true);
    showNote();
    computation_ = new CurveComputation(p, *from, *to, points, this);
    connect(computation_, &CurveComputation::arrived, this, &CurveWindow::arrived);
}

void CurveWindow::arrived()
{
    if (!computation_)
        return;
    for (const CurveComputation::Point& point : computation_->take())
        plot_->setPoint(point.index, point.row);
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
    showNote();
}

void CurveWindow::closeEvent(QCloseEvent* event)
{
    finish();
    QWidget::closeEvent(event);
}

void CurveWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    compareParameters();
}

namespace {

// Every parameter but β, which the curve runs through.
bool sameButBeta(const Parameters& a, const Parameters& b)
{
    for (const ParamId id : kFieldOrder)
        if (id != ParamId::beta && value_of(a, id) != value_of(b, id))
            return false;
    return true;
}

QString parameterList(const Parameters& p)
{
    QStringList parts;
    for (const ParamId id : kFieldOrder)
        if (id != ParamId::beta)
            parts << QStringLiteral("%1 = %2").arg(lab::parameterCaption(id), number(value_of(p, id)));
    return parts.join(QStringLiteral(", "));
}

}  // namespace

void CurveWindow::compareParameters()
{
    const bool stale = computed_ && !sameButBeta(*computed_, current_());
    if (stale != stale_) {
        stale_ = stale;
        showNote();
    }
}

void CurveWindow::showNote()
{
    QStringList lines;
    if (stale_ && computed_)
        lines << lab::staleCurve(parameterList(*computed_));
    if (!computation_ && plot_->done() > 0 && plot_->done() < plot_->points())
        lines << lab::partialCurve(plot_->done(), plot_->points());
    note_->setText(lines.join(u'\n'));
    note_->setVisible(!lines.isEmpty());
}

// The kit's picture (at twice the window's pixels), with the notes that say what the curve
// is below it when there are any.
QImage curve_picture(const QImage& picture, const QFont& font, const QStringList& notes)
{
    if (notes.isEmpty())
        return picture.copy();
    const QFontMetrics fm(font);
    const double ratio = picture.devicePixelRatio();
    const QSizeF shown = QSizeF(picture.size()) / ratio;
    const int band = static_cast<int>(notes.size()) * fm.height() + 8;
    QImage image((QSizeF(shown.width(), shown.height() + band) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter p(&image);
    p.drawImage(QPointF(0, 0), picture);
    p.setFont(font);
    p.setPen(Qt::black);
    for (qsizetype i = 0; i < notes.size(); ++i)
        p.drawText(QPointF(8, shown.height() + 4 + fm.ascent() + static_cast<double>(i) * fm.height()), notes[i]);
    return image;
}

void CurveWindow::save()
{
    const std::vector<analysis::SweepRow> rows = plot_->rows();
    if (rows.empty() || !computed_) {
        platform_.message(this, lab::kCurveCaption, lab::kNoCurve);
        return;
    }
    compareParameters();
    // A curve that is not what its window would compute now is saved only knowingly, and
    // its picture says what it is.
    const bool partial = plot_->done() < plot_->points();
    QStringList notes{lab::computedFor(parameterList(*computed_))};
    if (partial)
        notes << lab::partialCurve(plot_->done(), plot_->points());
    if (partial || stale_) {
        QStringList question;
        if (stale_)
            question << lab::staleCurve(parameterList(*computed_));
        if (partial)
            question << lab::partialCurve(plot_->done(), plot_->points());
        question << lab::kSaveAnyway;
        if (platform_.ask(this, lab::kSaveCurve, question.join(u'\n')) != Answer::Yes)
            return;
    }
    QSettings settings = lab::settings();
    const QString folder = settings.value(lab::kLastFolderKey, QDir::homePath()).toString();
    const QString path = platform_.choose_save_file(
        this, lab::kSaveCurve, QDir(folder).filePath(QStringLiteral("resonance.png")),
        lab::kCurveFilters);
    if (path.isEmpty())
        return;
    settings.setValue(lab::kLastFolderKey, QFileInfo(path).absolutePath());
    QString why;
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        why = write_whole_file(path, sweep_csv(rows));
    } else {
        // Twice as fine as the window shows it, for printing.
        const Surface picture = plot_->drawn(2);
        const QImage image = curve_picture(qimage_view(picture.image()), plot_->font(), notes);
        why = write_whole_file(path, [&](QIODevice& out) { return image.save(&out, "PNG"); });
    }
    if (!why.isEmpty())
        platform_.message(this, texts::kErrorTitle, lab::notWritten(path, why));
}

}  // namespace sp
