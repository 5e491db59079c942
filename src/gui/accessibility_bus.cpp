// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility_bus.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>

// One entry of a text's bounded ranges on the bus, (iisv): a range of
// offsets, its text and a value.
struct BoundedRange {
    int start = 0;
    int end = 0;
    QString text;
    QDBusVariant value;
};
Q_DECLARE_METATYPE(BoundedRange)

QDBusArgument& operator<<(QDBusArgument& argument, const BoundedRange& range)
{
    argument.beginStructure();
    argument << range.start << range.end << range.text << range.value;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, BoundedRange& range)
{
    argument.beginStructure();
    argument >> range.start >> range.end >> range.text >> range.value;
    argument.endStructure();
    return argument;
}

namespace {

// Where Qt's bridge registers its adaptor, for this path and all below it,
// on its connection to the accessibility bus.
const QString adaptorPath = QStringLiteral("/org/a11y/atspi/accessible");
const QString busConnectionName = QStringLiteral("a11y");

// What AT-SPI counts a position from: the screen's top left, the top left of
// the inside of the object's window, or that of its parent.
enum CoordType : uint { ScreenCoords = 0, WindowCoords = 1, ParentCoords = 2 };

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

// A box Qt gives in device-independent pixels on the desktop, in the
// screen's own pixels counted as `coordType` says. Qt keeps a screen's top
// left where it is and scales from there. An empty box (an offset outside
// the text) stays as Qt gives it.
QRect inDevicePixels(QAccessibleInterface& accessible, const QRect& box, uint coordType)
{
    if (box.isNull())
        return box;
    const QWindow* window = accessible.window();
    const QScreen* screen = window ? window->screen() : QGuiApplication::primaryScreen();
    const qreal scale = screen ? screen->devicePixelRatio() : 1;
    QPoint from = screen ? screen->geometry().topLeft() : QPoint(); // Qt's pixels
    QPoint to = from;                                               // the screen's
    const QAccessibleInterface* parent = accessible.parent();
    const QRect parentBox = parent ? parent->rect() : QRect();
    if (coordType == WindowCoords && window) {
        from = window->mapToGlobal(QPoint());
        to = QPoint();
    } else if (coordType == ParentCoords && parentBox.isValid()) {
        from = parentBox.topLeft();
        to = QPoint();
    }
    return QRect(to + (QPointF(box.topLeft() - from) * scale).toPoint(),
                 (QSizeF(box.size()) * scale).toSize());
}

QList<QVariant> asArguments(const QRect& box)
{
    return {box.x(), box.y(), box.width(), box.height()};
}

// The calls answered here, each given its arguments as listed for it (else
// it gets an error) and the object it is for; false hands it on to Qt's
// adaptor.
using Answer = bool (*)(const QDBusMessage& message, const QDBusConnection& connection,
                        QAccessibleInterface& accessible);

// AT-SPI knows the three coordinate types; any other gets an error.
bool refuseUnknownCoordType(const QDBusMessage& message, const QDBusConnection& connection,
                            uint coordType)
{
    if (coordType <= ParentCoords)
        return false;
    connection.send(message.createErrorReply(QDBusError::InvalidArgs, message.member()));
    return true;
}

// Component.GetExtents(coordType) -> (iiii)
bool answerExtents(const QDBusMessage& message, const QDBusConnection& connection,
                   QAccessibleInterface& accessible)
{
    const uint coordType = message.arguments()[0].toUInt();
    if (!refuseUnknownCoordType(message, connection, coordType))
        connection.send(message.createReply(
            QVariant::fromValue(inDevicePixels(accessible, accessible.rect(), coordType))));
    return true;
}

// Component.GetPosition(coordType) -> x, y
bool answerPosition(const QDBusMessage& message, const QDBusConnection& connection,
                    QAccessibleInterface& accessible)
{
    const uint coordType = message.arguments()[0].toUInt();
    if (!refuseUnknownCoordType(message, connection, coordType)) {
        const QRect box = inDevicePixels(accessible, accessible.rect(), coordType);
        connection.send(message.createReply(QList<QVariant>{box.x(), box.y()}));
    }
    return true;
}

// Component.GetSize() -> width, height
bool answerSize(const QDBusMessage& message, const QDBusConnection& connection,
                QAccessibleInterface& accessible)
{
    const QRect box = inDevicePixels(accessible, accessible.rect(), ScreenCoords);
    connection.send(message.createReply(QList<QVariant>{box.width(), box.height()}));
    return true;
}

// Text.GetCharacterExtents(offset, coordType) -> x, y, width, height
bool answerCharacterExtents(const QDBusMessage& message, const QDBusConnection& connection,
                            QAccessibleInterface& accessible)
{
    QAccessibleTextInterface* text = accessible.textInterface();
    if (!text)
        return false;
    const uint coordType = message.arguments()[1].toUInt();
    if (!refuseUnknownCoordType(message, connection, coordType)) {
        const QRect box = text->characterRect(message.arguments()[0].toInt());
        connection.send(
            message.createReply(asArguments(inDevicePixels(accessible, box, coordType))));
    }
    return true;
}

// Text.GetRangeExtents(start, end, coordType) -> x, y, width, height: the
// boxes of the characters in [start, end) (end -1: the end of the text), in
// one pass over them. Qt's own answer for an empty range also where the
// range reaches outside the text.
bool answerRangeExtents(const QDBusMessage& message, const QDBusConnection& connection,
                        QAccessibleInterface& accessible)
{
    QAccessibleTextInterface* text = accessible.textInterface();
    if (!text)
        return false;
    const QList<QVariant> arguments = message.arguments();
    const uint coordType = arguments[2].toUInt();
    if (refuseUnknownCoordType(message, connection, coordType))
        return true;
    const int count = text->characterCount();
    const int start = arguments[0].toInt();
    const int end = arguments[1].toInt() == -1 ? count : arguments[1].toInt();
    if (start < 0 || end > count || start >= end) {
        connection.send(message.createReply(QList<QVariant>{-1, -1, 0, 0}));
        return true;
    }
    QRect box;
    for (int offset = start; offset < end; ++offset)
        box |= text->characterRect(offset);
    connection.send(message.createReply(asArguments(inDevicePixels(accessible, box, coordType))));
    return true;
}

// Text.GetBoundedRanges(x, y, width, height, coordType, xClip, yClip) ->
// a(iisv): no ranges, an answer AT-SPI allows, where Qt's would never come.
bool answerBoundedRanges(const QDBusMessage& message, const QDBusConnection& connection,
                         QAccessibleInterface& accessible)
{
    if (!accessible.textInterface())
        return false;
    static const bool registered = [] {
        qDBusRegisterMetaType<BoundedRange>();
        qDBusRegisterMetaType<QList<BoundedRange>>();
        return true;
    }();
    Q_UNUSED(registered);
    connection.send(message.createReply(QVariant::fromValue(QList<BoundedRange>())));
    return true;
}

// EditableText.InsertText(offset, text, length) -> b: at most the given
// text, however long the caller says it is.
bool answerInsertion(const QDBusMessage& message, const QDBusConnection& connection,
                     QAccessibleInterface& accessible)
{
    QAccessibleEditableTextInterface* editable = accessible.editableTextInterface();
    if (!editable)
        return false;
    const QList<QVariant> arguments = message.arguments();
    const int claimedLength = std::max(0, arguments[2].toInt());
    editable->insertText(arguments[0].toInt(), arguments[1].toString().left(claimedLength));
    connection.send(message.createReply(true));
    return true;
}

struct GuardedCall {
    const char* interface;
    const char* member;
    QList<QMetaType::Type> arguments;
    Answer answer;
};

const QList<GuardedCall>& guardedCalls()
{
    using T = QMetaType::Type;
    static const QList<GuardedCall> calls = {
        {"org.a11y.atspi.Component", "GetExtents", {T::UInt}, answerExtents},
        {"org.a11y.atspi.Component", "GetPosition", {T::UInt}, answerPosition},
        {"org.a11y.atspi.Component", "GetSize", {}, answerSize},
        {"org.a11y.atspi.Text", "GetCharacterExtents", {T::Int, T::UInt}, answerCharacterExtents},
        {"org.a11y.atspi.Text", "GetRangeExtents", {T::Int, T::Int, T::UInt}, answerRangeExtents},
        {"org.a11y.atspi.Text",
         "GetBoundedRanges",
         {T::Int, T::Int, T::Int, T::Int, T::UInt, T::UInt, T::UInt},
         answerBoundedRanges},
        {"org.a11y.atspi.EditableText",
         "InsertText",
         {T::Int, T::QString, T::Int},
         answerInsertion},
    };
    return calls;
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
    const auto call = std::ranges::find_if(guardedCalls(), [&](const GuardedCall& guarded) {
        return message.interface() == QLatin1StringView(guarded.interface) &&
               message.member() == QLatin1StringView(guarded.member);
    });
    if (call != guardedCalls().end()) {
        // Qt's adaptor reads the arguments it expects without looking.
        if (!hasArguments(message, call->arguments)) {
            connection.send(message.createErrorReply(QDBusError::InvalidArgs, message.member()));
            return true;
        }
        if (QAccessibleInterface* accessible = accessibleAt(message.path());
            accessible && call->answer(message, connection, *accessible))
            return true;
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
