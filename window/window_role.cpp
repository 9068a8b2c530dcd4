#include "window/window_role.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>
#include <mutex>

namespace sp {
namespace {

const char* const kWindowRole = "sp_window_role";

QAccessibleInterface* windowRole(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && widget->isWindow() && widget->property(kWindowRole).toBool())
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

}  // namespace

void name_as_window(QWidget* window)
{
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(windowRole); });
    window->setProperty(kWindowRole, true);
    // An interface made while the widget was still being built has the plain widget's role.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(window);
        made && made->role() != QAccessible::Window)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

}  // namespace sp
