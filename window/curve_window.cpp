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
#include <QPainter>
#include <QPainterPath>
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

const QColor kAxColour(0xC0, 0, 0);
const QColor kAyColour(0, 0, 0xC0);

// A run that has not settled by its end (beating, a transient, chaos) is drawn hollow:
// it is not a point of a curve.
bool settled(const analysis::SweepRow& row)
{
    return row.whole && row.steady;
}

// The lag's panel shows −π/2 … 3π/2: 0 in phase with the suspension point, π/2 at a linear
// resonance, π in antiphase, with room for the lags of unsettled runs.
constexpr double kLagLow = -kPi / 2;
constexpr double kLagHigh = 3 * kPi / 2;

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
    // Points arrive faster than a picture is worth repainting; they are shown together a
    // few dozen times a second, which keeps the window's event loop free.
    refresh_.setSingleShot(true);
    refresh_.setInterval(40);
    connect(&refresh_, &QTimer::timeout, this, [this] {
        update();
        emit refreshed();
    });
}

void CurvePlot::start(const Parameters& p, double from, double to, int points)
{
    current_ = p;
    from_ = from;
    to_ = to;
    rows_.assign(static_cast<std::size_t>(points), std::nullopt);
    done_ = 0;
    highest_ = 0;
    // A picture of many points costs more to paint than a few more runs: it is shown
    // less often, so the window's share stays small beside the runs'.
    refresh_.setInterval(points > 400 ? 120 : 40);
    update();
}

void CurvePlot::setPoint(int index, const analysis::SweepRow& row)
{
    if (index < 0 || index >= points())
        return;
    auto& slot = rows_[static_cast<std::size_t>(index)];
    if (!slot)
        ++done_;
    slot = row;
    // Kept as the points arrive: every point drawn asks for the scale.
    for (const double v : {row.Ax, row.Ay})
        if (std::isfinite(v))
            highest_ = std::max(highest_, v);
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

// The swings over the upper seven tenths, the lag below them.
QRectF CurvePlot::plotArea() const
{
    const double usable = std::max(20.0, height() - 88.0);
    return QRectF(52, 12, std::max(10, width() - 64), 0.7 * usable);
}

QRectF CurvePlot::lagArea() const
{
    const QRectF a = plotArea();
    const double usable = std::max(20.0, height() - 88.0);
    return QRectF(a.left(), a.bottom() + 40, a.width(), 0.3 * usable);
}

QPointF CurvePlot::toLagScreen(double beta, double lag) const
{
    const QRectF a = lagArea();
    const double span = to_ > from_ ? to_ - from_ : 1.0;
    const double fx = (beta - from_) / span;
    const double fy = std::clamp((lag - kLagLow) / (kLagHigh - kLagLow), 0.0, 1.0);
    return {a.left() + fx * a.width(), a.bottom() - fy * a.height()};
}

// The measured swings set the height; the linear theory, unbounded at an undamped
// resonance, is clipped rather than allowed to flatten everything else.
double CurvePlot::topValue() const
{
    const double top = highest_;
    if (!(top > 0) || !std::isfinite(top))
        return 1.0;
    // Up to the next round value of five grid steps (1, 2 or 5 times a power of ten).
    const double raw = top * 1.05 / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= raw)
            return 5 * m * power;
    return 50 * power;
}

QPointF CurvePlot::toScreen(double beta, double value) const
{
    const QRectF a = plotArea();
    const double span = to_ > from_ ? to_ - from_ : 1.0;
    const double fx = (beta - from_) / span;
    const double fy = std::clamp(value / topValue(), -0.05, 1.05);
    return {a.left() + fx * a.width(), a.bottom() - fy * a.height()};
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

void CurvePlot::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    const QRectF a = plotArea();

    // Grid and labels: five steps each way.
    p.setPen(QPen(QColor(0xD0, 0xD0, 0xD0), 1));
    const double top = topValue();
    const QFontMetrics fm(font());
    for (int i = 0; i <= 5; ++i) {
        const double beta = from_ + (to_ - from_) * i / 5.0;
        const double value = top * i / 5.0;
        const QPointF bx = toScreen(beta, 0);
        const QPointF vy = toScreen(from_, value);
        p.setPen(QPen(QColor(0xD0, 0xD0, 0xD0), 1));
        p.drawLine(QPointF(bx.x(), a.top()), QPointF(bx.x(), a.bottom()));
        p.drawLine(QPointF(a.left(), vy.y()), QPointF(a.right(), vy.y()));
        p.setPen(Qt::black);
        const QString bl = QString::number(beta, 'g', 3);
        p.drawText(QPointF(bx.x() - fm.horizontalAdvance(bl) / 2.0, a.bottom() + fm.ascent() + 3), bl);
        const QString vl = QString::number(value, 'g', 3);
        p.drawText(QPointF(a.left() - fm.horizontalAdvance(vl) - 4, vy.y() + fm.ascent() / 2.0), vl);
    }
    p.setPen(Qt::black);
    p.drawRect(a);
    p.drawText(QPointF(a.right() - fm.horizontalAdvance(QStringLiteral("β")), a.bottom() + 2 * fm.height() + 2),
               QStringLiteral("β"));

    p.save();
    p.setClipRect(a.adjusted(-6, -6, 6, 6));
    // The linear theory of the horizontal swing, dashed.
    QPainterPath theory;
    bool pen_down = false;
    for (const auto& r : rows_) {
        if (!r || !std::isfinite(r->Ax_linear)) {
            pen_down = false;
            continue;
        }
        const QPointF q = toScreen(r->beta, r->Ax_linear);
        pen_down ? theory.lineTo(q) : theory.moveTo(q);
        pen_down = true;
    }
    p.setPen(QPen(kAxColour, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawPath(theory);

    const auto curve = [&](double analysis::SweepRow::*value, const QColor& colour) {
        QPainterPath path;
        bool down = false;
        for (const auto& r : rows_) {
            if (!r || !std::isfinite((*r).*value)) {
                down = false;
                continue;
            }
            const QPointF q = toScreen(r->beta, (*r).*value);
            down ? path.lineTo(q) : path.moveTo(q);
            down = true;
        }
        p.setPen(QPen(colour, 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        for (const auto& r : rows_) {
            if (!r || !std::isfinite((*r).*value))
                continue;
            p.setBrush(settled(*r) ? QBrush(colour) : QBrush(Qt::white));
            p.drawEllipse(toScreen(r->beta, (*r).*value), 2.5, 2.5);
        }
    };
    curve(&analysis::SweepRow::Ax, kAxColour);
    curve(&analysis::SweepRow::Ay, kAyColour);
    p.restore();
    paintLag(p);

    // Legend.
    const QPointF l(a.left() + 8, a.top() + fm.height());
    p.setPen(kAxColour);
    p.drawText(l, QStringLiteral("● Ax"));
    p.drawText(l + QPointF(0, fm.height()), lab::kLinearLegend);
    p.setPen(kAyColour);
    p.drawText(l + QPointF(0, 2 * fm.height()), QStringLiteral("● Ay"));
}

// The lag of the horizontal response behind the suspension point, with the linear theory's
// atan2(2αβ, γ² − β²) dashed; the run's own lag βh/2 is in the measured points.
void CurvePlot::paintLag(QPainter& p)
{
    const QRectF a = lagArea();
    const QFontMetrics fm(font());
    p.setPen(QPen(QColor(0xD0, 0xD0, 0xD0), 1));
    for (const double lag : {0.0, kPi / 2, kPi}) {
        const double y = toLagScreen(from_, lag).y();
        p.drawLine(QPointF(a.left(), y), QPointF(a.right(), y));
    }
    p.setPen(Qt::black);
    p.drawRect(a);
    const std::pair<double, QString> marks[] = {
        {0.0, QStringLiteral("0")}, {kPi / 2, QStringLiteral("π/2")}, {kPi, QStringLiteral("π")}};
    for (const auto& [lag, label] : marks)
        p.drawText(QPointF(a.left() - fm.horizontalAdvance(label) - 4, toLagScreen(from_, lag).y() + fm.ascent() / 2.0),
                   label);
    p.drawText(QPointF(a.left() + 8, a.top() - 6), lab::kLagTitle);

    p.save();
    p.setClipRect(a.adjusted(-4, -4, 4, 4));
    QPainterPath theory;
    bool down = false;
    for (const auto& r : rows_) {
        const double lag = r ? linear_lag(*r) : std::nan("");
        if (!std::isfinite(lag)) {
            down = false;
            continue;
        }
        const QPointF q = toLagScreen(r->beta, lag);
        down ? theory.lineTo(q) : theory.moveTo(q);
        down = true;
    }
    p.setPen(QPen(kAxColour, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawPath(theory);
    p.setPen(QPen(kAxColour, 1));
    for (const auto& r : rows_) {
        if (!r || !std::isfinite(r->phase))
            continue;
        p.setBrush(settled(*r) ? QBrush(kAxColour) : QBrush(Qt::white));
        p.drawEllipse(toLagScreen(r->beta, r->phase), 2.5, 2.5);
    }
    p.restore();
}

double CurvePlot::linear_lag(const analysis::SweepRow& r) const
{
    const double g2 = current_.DYg / (1 + current_.DYg);
    if (!(g2 > 0))
        return std::nan("");
    return std::atan2(2 * current_.alpha * r.beta, g2 - r.beta * r.beta);
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
    const NumberReading r = read_number_detailed(edit->text().toStdString());
    if (r.any_digits && r.whole && std::isfinite(r.value))
        return r.value;
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

QImage curve_picture(QWidget& plot, const QStringList& notes)
{
    // Twice as fine as the window shows it, for printing.
    const QFontMetrics fm(plot.font());
    const int band = notes.isEmpty() ? 0 : static_cast<int>(notes.size()) * fm.height() + 8;
    const QSize size(plot.width(), plot.height() + band);
    QImage image(size * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        plot.render(&p);
        p.setFont(plot.font());
        p.setPen(Qt::black);
        for (qsizetype i = 0; i < notes.size(); ++i)
            p.drawText(QPointF(8, plot.height() + 4 + fm.ascent() + static_cast<double>(i) * fm.height()),
                       notes[i]);
    }
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
        const QImage image = curve_picture(*plot_, notes);
        why = write_whole_file(path, [&](QIODevice& out) { return image.save(&out, "PNG"); });
    }
    if (!why.isEmpty())
        platform_.message(this, texts::kErrorTitle, lab::notWritten(path, why));
}

}  // namespace sp
