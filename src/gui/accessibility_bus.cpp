// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility_bus.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QTimer>
#include <algorithm>

namespace {

// Where Qt's bridge registers its adaptor, for this path and all below it,
// on its connection to the accessibility bus.
const QString adaptorPath = QStringLiteral("/org/a11y/atspi/accessible");
const QString busConnectionName = QStringLiteral("a11y");

// The accessible object a path names, as Qt's adaptor finds it:
// ".../accessible/<id>"; none for the application's root or a stale id.
QAccessibleInterface* accessibleAt(const QString& path)
{
    const QString prefix = adaptorPath + u'/';
    if (!path.startsWith(prefix))
        return nullptr;
    bool isNumber = false;
    const QAccessible::Id id = path.sliced(prefix.size()).toUInt(&isNumber);
    return isNumber ? QAccessible::accessibleInterface(id) : nullptr;
}

bool hasArguments(const QDBusMessage& message, const QList<QMetaType::Type>& types)
{
    const QList<QVariant> arguments = message.arguments();
    return std::ranges::equal(arguments, types, [](const QVariant& argument, QMetaType::Type type) {
        return argument.metaType().id() == type;
    });
}

// Qt's adaptor walks [start, end] (end -1: the end of the text) one offset at
// a time; outside the text it gets Qt's own answer for an empty range.
bool answerRangeExtents(const QDBusMessage& message, const QDBusConnection& connection,
                        QAccessibleTextInterface& text)
{
    const QList<QVariant> arguments = message.arguments();
    const int count = text.characterCount();
    const int start = arguments[0].toInt();
    const int end = arguments[1].toInt() == -1 ? count : arguments[1].toInt();
    if (start >= 0 && end <= count)
        return false;
    connection.send(message.createReply(QList<QVariant>{-1, -1, 0, 0}));
    return true;
}

// At most the given text, however long the caller says it is.
void insertGivenText(const QDBusMessage& message, const QDBusConnection& connection,
                     QAccessibleEditableTextInterface& editable)
{
    const QList<QVariant> arguments = message.arguments();
    const int claimedLength = std::max(0, arguments[2].toInt());
    editable.insertText(arguments[0].toInt(), arguments[1].toString().left(claimedLength));
    connection.send(message.createReply(true));
}

void placeGuard()
{
    QDBusConnection bus(busConnectionName);
    auto* adaptor = qobject_cast<QDBusVirtualObject*>(bus.objectRegisteredAt(adaptorPath));
    if (!adaptor || qobject_cast<BusCallGuard*>(adaptor))
        return;
    bus.unregisterObject(adaptorPath);
    auto* guard = new BusCallGuard(adaptor);
    if (!bus.registerVirtualObject(adaptorPath, guard, QDBusConnection::SubPath)) {
        delete guard;
        bus.registerVirtualObject(adaptorPath, adaptor, QDBusConnection::SubPath);
    }
}

// Qt tells its observers that accessibility is active just before its bridge
// registers the adaptor, hence the guard follows from the event loop.
class ActivationWatcher : public QAccessible::ActivationObserver {
public:
    void accessibilityActiveChanged(bool active) override
    {
        if (active)
            QTimer::singleShot(0, qApp, placeGuard);
    }
};

} // namespace

BusCallGuard::BusCallGuard(QDBusVirtualObject* adaptor)
    : QDBusVirtualObject(adaptor)
    , adaptor(adaptor)
{
}

QString BusCallGuard::introspect(const QString& path) const
{
    return adaptor ? adaptor->introspect(path) : QString();
}

bool BusCallGuard::handleMessage(const QDBusMessage& message, const QDBusConnection& connection)
{
    const auto is = [&](const char* interface, const char* member) {
        return message.interface() == QLatin1StringView(interface) &&
               message.member() == QLatin1StringView(member);
    };
    const bool rangeExtents = is("org.a11y.atspi.Text", "GetRangeExtents");
    const bool insertion = is("org.a11y.atspi.EditableText", "InsertText");
    if (rangeExtents || insertion) {
        // Qt's adaptor reads the arguments it expects without looking.
        const QList<QMetaType::Type> expected =
            rangeExtents ? QList{QMetaType::Int, QMetaType::Int, QMetaType::UInt}
                         : QList{QMetaType::Int, QMetaType::QString, QMetaType::Int};
        if (!hasArguments(message, expected)) {
            connection.send(message.createErrorReply(QDBusError::InvalidArgs, message.member()));
            return true;
        }
        QAccessibleInterface* accessible = accessibleAt(message.path());
        QAccessibleTextInterface* text = accessible ? accessible->textInterface() : nullptr;
        if (rangeExtents && text && answerRangeExtents(message, connection, *text))
            return true;
        QAccessibleEditableTextInterface* editable =
            accessible ? accessible->editableTextInterface() : nullptr;
        if (insertion && editable) {
            insertGivenText(message, connection, *editable);
            return true;
        }
    }
    return adaptor && adaptor->handleMessage(message, connection);
}

void guardAccessibilityBus()
{
    static ActivationWatcher watcher;
    static const bool installed = [] {
        QAccessible::installActivationObserver(&watcher);
        return true;
    }();
    Q_UNUSED(installed);
    placeGuard(); // Qt may have registered its adaptor already
}
