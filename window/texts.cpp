#include "window/texts.h"

#include <QStringList>

namespace sp::texts {

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
