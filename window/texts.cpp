#include "window/texts.h"

#include <QStringList>
#include <cmath>
#include <string>

#include "model/number_format.h"

namespace sp::texts {
namespace {

// "prefix value suffix", or "prefix —" where the value does not exist.
QString caption(const char* prefix, double value, bool defined, const std::string& shown,
                const char* suffix)
{
    if (!defined || !std::isfinite(value))
        return QString::fromUtf8(prefix) + QStringLiteral("—");
    return QString::fromUtf8(prefix) + QString::fromStdString(shown) + QString::fromUtf8(suffix);
}

}  // namespace

std::array<QString, 6> characteristic_captions(const Characteristics& c, char dp)
{
    const bool g = c.g_undefined == Undefined::Defined;
    const bool fi_x = c.fi_x_undefined == Undefined::Defined;
    return {
        caption("g = ", c.g, g, format_fixed(c.g, 3, dp), ""),
        caption("Ax = ", c.Ax, true, format_scientific(c.Ax, dp), " "),
        caption("fi_x = ", c.fi_x, fi_x, format_fixed(c.fi_x, 3, dp), " рад "),
        caption("Ay = ", c.Ay, true, format_scientific(c.Ay, dp), " "),
        caption("fi_y = ", c.fi_y, true, format_fixed(c.fi_y, 3, dp), " рад "),
        caption("Dj = ", c.Dj, fi_x, format_fixed(c.Dj, 3, dp), "p"),
    };
}

QString entry_message(ParamId id, EntryFault fault)
{
    switch (id) {
    case ParamId::alpha:
        return QStringLiteral("не может быть отрицательным! Не вводите заново, а исправьте!");
    case ParamId::beta:
        return QStringLiteral("Не должна быть меньше 0! Не вводите заново, а исправьте!");
    case ParamId::Tmax:
        return QStringLiteral("Должно быть больше 0! Не вводите заново, а исправьте!");
    default:
        break;
    }
    // No other field rejects anything today; should one start to, it still says what is wrong.
    return fault == EntryFault::NotPositive
               ? QStringLiteral("Должно быть больше 0! Не вводите заново, а исправьте!")
               : QStringLiteral("Не может быть отрицательным! Не вводите заново, а исправьте!");
}

QString about_text()
{
    const QStringList lines = {
        QStringLiteral("Программа моделирует колебания пружинного маятника, подвешенного вертикально."),
        QStringLiteral("Точка подвеса может совершать горизонтальные гармонические колебания"),
        QStringLiteral("Колебания происходят в вязкой среде."),
        QStringLiteral(" "),
        QStringLiteral("История версий:"),
        QStringLiteral("Версия 1.0 (2026); Windows, Linux; настольное приложение; "
                       "автор — группа «Учебные модели»"),
        QStringLiteral(" "),
        QStringLiteral("Регистрация: учебная программа кафедры общей физики, без государственной регистрации."),
        QStringLiteral("Распространяется свободно для использования в учебном процессе."),
        QStringLiteral("Описание модели и методики: spravka.pdf; опыты: spravka2.pdf."),
        QStringLiteral("Описание элементов окна: uprav.pdf; краткая инструкция: instruction.txt."),
        QStringLiteral("Публикации: не публиковалась; отзывы и предложения — pendulum@example.org"),
    };
    // On this desktop a line feed alone separates lines; a carriage return would show as
    // a stray glyph or an empty line in some styles.
    return lines.join(QLatin1Char('\n'));
}

QString authors_text()
{
    const QStringList lines = {
        QStringLiteral("Группа «Учебные модели», 2026"),
        QStringLiteral("Кандидат физико-математических наук"),
        QStringLiteral("Доцент кафедры общей физики"),
        QStringLiteral("Университет учебных симуляторов"),
        QStringLiteral("г. Н-ск, Россия"),
        QStringLiteral("pendulum@example.org"),
    };
    QStringList padded;
    for (qsizetype i = 0; i < lines.size(); ++i)
        padded << (i + 1 < lines.size() ? lines[i].leftJustified(36, QLatin1Char(' ')) : lines[i]);
    return padded.join(QLatin1Char('\n'));
}

}  // namespace sp::texts
