#pragma once
// The authors' window: a picture and six lines of details.

#include <QWidget>

class QLabel;

namespace sp {

class Form2 : public QWidget {
    Q_OBJECT

public:
    explicit Form2(QWidget* parent = nullptr);
    void setDetails(const QString& text);

private:
    QLabel* Image1_ = nullptr;
    QLabel* Label1_ = nullptr;
};

}  // namespace sp
