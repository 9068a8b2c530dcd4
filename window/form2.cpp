#include "window/form2.h"

#include <QLabel>
#include <QShortcut>

#include "window/artwork.h"
#include "window/fonts.h"
#include "window/texts.h"

namespace sp {

Form2::Form2(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(texts::kAuthors);
    setWindowIcon(program_icon());
    setFixedSize(222, 297);
    setAccessibleName(windowTitle());
    // A small window of details: Escape puts it away, as it does a dialog.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    Image1_ = new QLabel(this);
    Image1_->setObjectName(QStringLiteral("Image1"));
    Image1_->setGeometry(32, 8, 150, 180);
    Image1_->setPixmap(authors_picture());

    Label1_ = new QLabel(QStringLiteral("Label1"), this);
    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setGeometry(8, 200, 209, 81);
    Label1_->setFont(fonts::sans(8.25));
    Label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Form2::setDetails(const QString& text)
{
    Label1_->setText(text);
}

}  // namespace sp
