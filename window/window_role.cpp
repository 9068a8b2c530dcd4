#include "window/window_role.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>
#include <mutex>

namespace sp {
namespace {

QAccessibleInterface* windowRole(const QString& class_name, QObject* object)
{
    static const QStringList windows = {QStringLiteral("sp::CurveWindow"),
                                        QStringLiteral("sp::PortraitWindow"),
                                        QStringLiteral("sp::Form3")};
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && widget->isWindow() && windows.contains(class_name))
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

}  // namespace

void name_windows_for_assistive_technology()
{
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(windowRole); });
}

}  // namespace sp
