// SPDX-License-Identifier: GPL-3.0-or-later
// What screen readers get from the real window: the frame of panels, names
// and descriptions, announcements, selections, text queries and, on the
// accessibility bus, the guard in front of Qt's adaptor.

#include "window_support.h"

#ifdef QT_DBUS_LIB
#include "gui/accessibility_bus.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusServer>
#include <QDir>

namespace {

// Stands for Qt's bus adaptor and counts the calls that reach it.
struct CountingAdaptor : QDBusVirtualObject {
    int calls = 0;
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage&, const QDBusConnection&) override { return ++calls; }
};

// Two ends of a D-Bus connection within the test, a guard on one end where
// Qt's adaptor stands on the accessibility bus: a call from the other end
// gets back what a screen reader would.
class PeerBus {
public:
    explicit PeerBus(QDBusVirtualObject* guard)
        : server(QStringLiteral("unix:tmpdir=") + QDir::tempPath())
    {
        QObject::connect(
            &server, &QDBusServer::newConnection, [this, guard](const QDBusConnection& end) {
                guarded = end;
                guarded.registerVirtualObject(QStringLiteral("/org/a11y/atspi/accessible"), guard,
                                              QDBusConnection::SubPath);
            });
        caller = QDBusConnection::connectToPeer(server.address(), QStringLiteral("caller"));
        QVERIFY(QTest::qWaitFor([this] { return guarded.isConnected(); }));
    }
    ~PeerBus() { QDBusConnection::disconnectFromPeer(QStringLiteral("caller")); }
    PeerBus(const PeerBus&) = delete;
    PeerBus& operator=(const PeerBus&) = delete;

    // The reply to a call to the accessible object of `control`, or an
    // error reply after 2 s without one.
    QDBusMessage call(const QWidget* control, const QString& interface, const QString& member,
                      const QVariantList& arguments)
    {
        QDBusMessage message = QDBusMessage::createMethodCall(
            QString(),
            QStringLiteral("/org/a11y/atspi/accessible/%1")
                .arg(QAccessible::uniqueId(
                    QAccessible::queryAccessibleInterface(const_cast<QWidget*>(control)))),
            interface, member);
        message.setArguments(arguments);
        QDBusPendingCall pending = caller.asyncCall(message, 2000);
        // The guard answers from this thread's event loop.
        if (!QTest::qWaitFor([&pending] { return pending.isFinished(); }, 3000))
            return {};
        return pending.reply();
    }

private:
    QDBusServer server;
    QDBusConnection caller{QString()};
    QDBusConnection guarded{QString()};
};

// The numbers of a reply: its integers, those of a structure among them too.
QList<int> numbersOf(const QDBusMessage& reply)
{
    QList<int> numbers;
    for (const QVariant& argument : reply.arguments()) {
        if (argument.canConvert<QDBusArgument>()) {
            const QRect box = qdbus_cast<QRect>(argument);
            numbers << box.x() << box.y() << box.width() << box.height();
        } else {
            numbers << argument.toInt();
        }
    }
    return numbers;
}

} // namespace
#endif

class WindowScreenReaderTest : public WindowSuite {
    Q_OBJECT

private slots:
    // The window is a frame of three groups, each named after its heading
    // and holding its panel's controls.
    void readersSeeAFrameOfPanels_data()
    {
        addTextRows({"group", "name", "member"}, {{"Speed", "PanelSpeed", "Speed", "CCalc"},
                                                  {"Rotor", "PanelRotor", "Rotor", "LSpeed"},
                                                  {"Power", "PanelPower", "Power", "TCQU"}});
    }
    void readersSeeAFrameOfPanels()
    {
        QFETCH(QString, group);
        QFETCH(QString, name);
        QFETCH(QString, member);
        MainWindow window(settingsDirectory.path());
        QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(&window);
        QAccessibleInterface* panel =
            QAccessible::queryAccessibleInterface(findControl(window, group));
        QCOMPARE(frame->role(), QAccessible::Window);
        QCOMPARE(std::pair(panel->role(), panel->text(QAccessible::Name)),
                 std::pair(QAccessible::Grouping, name));
        QCOMPARE(panel->parent(), frame);
        QCOMPARE(QAccessible::queryAccessibleInterface(findControl(window, member))->parent(),
                 panel);
    }

    void readersGetNamesAndDescriptions_data()
    {
        addTextRows({"control", "name", "description"},
                    {{"field", "TAsc", "Steigung", "Steigung"},
                     {"stepper down", "CAscD", "Steigung verringern", ""},
                     {"stepper up", "CAscU", "Steigung erhöhen", ""},
                     {"power stepper", "TCQU", "Kabelfläche erhöhen", ""},
                     {"empty result", "LUM", "leer", "Umdrehungen des Motors pro Minute"},
                     {"option rpm", "OPC(0)", "U/min berechnen", ""},
                     {"option speed", "OPC(2)", "Speed berechnen", ""},
                     {"Berechnen", "CCalc3", "Berechnen", "Bereich Rotor berechnen"}});
    }
    void readersGetNamesAndDescriptions()
    {
        QFETCH(QString, control);
        QFETCH(QString, name);
        QFETCH(QString, description);
        MainWindow window(settingsDirectory.path());
        QAccessibleInterface* read =
            QAccessible::queryAccessibleInterface(findControl<QWidget>(window, control));
        QCOMPARE(read->text(QAccessible::Name), name);
        QCOMPARE(read->text(QAccessible::Description), description);
    }

    // Said once per action, with the captions and units, also when nothing
    // changed, in the order the panel shows them: row by row from the top.
    // Ctrl+R says the last again.
    void actionsAreAnnouncedOnce_data()
    {
        // An empty text is said as "leer"; the field is set before the clicks.
        // The Flug panel's results follow every Power action.
        const QString flight = "Leistung: 404 W, C-Rate: 6,7, Flugzeit: 7,2 min, U/Rotor Last: "
                               "687 U/min, Ritzel: 11,6 Zähne";
        const QString power = "U/Motor: 16160 U/min, U/Prop/Rotor: 808 U/min, Untersetzung: "
                              "20,0:1, Spannung: 20,20 V, Volt / Zelle: 1,01 V, " +
                              flight;
        const QString emptied = "U/Motor: 16160 U/min, U/Prop/Rotor: leer, Untersetzung: leer, "
                                "Spannung: 20,20 V, Volt / Zelle: 1,01 V, Leistung: 404 W, "
                                "C-Rate: 6,7, Flugzeit: 7,2 min, U/Rotor Last: leer, "
                                "Ritzel: 11,6 Zähne";
        const QString cable = "U/Motor: 16160 U/min, U/Prop/Rotor: 808 U/min, Untersetzung: "
                              "20,0:1, Spannung: 20,20 V, Volt / Zelle: 1,01 V, Verlust Volt: "
                              "0,08 V, Kabelfläche: %1 Quadratmillimeter, " +
                              flight;
        const QString capacity = "Kapazität: %1 mAh, Leistung: 404 W, C-Rate: %2, Flugzeit: %3 "
                                 "min, U/Rotor Last: 687 U/min, Ritzel: 11,6 Zähne";
        const QByteArray texts[] = {power.toUtf8(),
                                    emptied.toUtf8(),
                                    flight.toUtf8(),
                                    capacity.arg("3100", "6,5", "7,4").toUtf8(),
                                    capacity.arg("3200", "6,3", "7,7").toUtf8(),
                                    cable.arg("2,6").toUtf8(),
                                    cable.arg("2,7").toUtf8()};
        addTextRows({"field", "text", "control", "first", "second"},
                    {{"Speed", "", "", "CCalc", "Speed: 68 km/h", "Speed: 68 km/h"},
                     {"Power", "", "", "CCalc2", texts[0], texts[0]},
                     {"emptied results", "TTR1", "0", "CCalc2", texts[1], texts[1]},
                     {"Flug", "", "", "CCalc4", texts[2], texts[2]},
                     {"Flug stepper", "", "", "CCAPU", texts[3], texts[4]},
                     {"stepper", "", "", "CBLU",
                      "Blattlänge: 610 mm, Durchmesser: 1370 mm, Zug/Blatt: 258,44 kg, "
                      "Kreisfläche: 147,41 Quadratdezimeter, Km/h: 387,36",
                      "Blattlänge: 620 mm, Durchmesser: 1390 mm, Zug/Blatt: 262,21 kg, "
                      "Kreisfläche: 151,75 Quadratdezimeter, Km/h: 393,01"},
                     // The stepped field stands below the results.
                     {"stepper below", "TTC0", "300", "TCQU", texts[5], texts[6]},
                     {"unit box", "", "", "CInch", "Steigung: 6 Zoll", "Steigung: 15 cm"}});
    }
    void actionsAreAnnouncedOnce()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, control);
        QFETCH(QString, first);
        QFETCH(QString, second);
        MainWindow window(settingsDirectory.path());
        QVERIFY(shownActive(window)); // for Ctrl+R
        QWidget* announcer = findControl(window, "Announcer");
        QCOMPARE(QAccessible::queryAccessibleInterface(announcer)->role(),
                 QAccessible::Notification);
        AnnouncementRecorder recorder;
        announcer->installEventFilter(&recorder);
        if (!field.isEmpty())
            setText(window, field, text);
        click(window, control);
        click(window, control);
        QTest::keyClick(&window, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(recorder.said, (QStringList{first, second, second}));
    }

    // A field without focus reports no selection to screen readers, which
    // would read a stale one as selected; and leaving a field reports no
    // change of its selection, which a screen reader would speak ("Text
    // unselected.") for the field it still presents. (Qt reports to screen
    // readers only while one listens, never offscreen; the report and the
    // line edit's selectionChanged come from the same place.)
    void fieldsWithoutFocusReportNoSelection_data()
    {
        addTextRows({"key", "then"}, {{"Tab", "Tab", ""},
                                      {"Shift+Tab", "Backtab", ""},
                                      {"Ctrl+2", "Ctrl+2", ""},
                                      {"Tab, then its stepper", "Tab", "CAscU"},
                                      {"Tab, then Zoll: 15 cm to 6 inches", "Tab", "CInch"}});
    }
    void fieldsWithoutFocusReportNoSelection()
    {
        QFETCH(QString, key);
        QFETCH(QString, then);
        MainWindow window(settingsDirectory.path());
        QVERIFY(shownActive(window));
        auto* field = findControl<QLineEdit>(window, "TAsc");
        QAccessibleTextInterface* read =
            QAccessible::queryAccessibleInterface(field)->textInterface();
        const auto reported = [read] {
            int start = -1, end = -1;
            read->selection(0, &start, &end);
            return std::tuple(read->selectionCount(), start, end);
        };
        QSignalSpy selectionChanges(field, &QLineEdit::selectionChanged);
        findControl(window, "TUM")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_VERIFY(field->hasSelectedText());
        QCOMPARE(reported(), std::tuple(1, 0, 2));
        QVERIFY(!selectionChanges.isEmpty());
        selectionChanges.clear();
        QTest::keySequence(field, QKeySequence(key));
        if (!then.isEmpty())
            click(window, then);
        QVERIFY(!field->hasFocus());
        QVERIFY(!field->hasSelectedText());
        QCOMPARE(reported(), std::tuple(0, 0, 0));
        QCOMPARE(selectionChanges.size(), 0);
    }

    // What a screen reader asks of a field: the piece at, before and after
    // every offset, the end included, lies within the text; one run without
    // attributes covers it.
    void fieldsAnswerTextQueriesAtEveryOffset_data()
    {
        QTest::addColumn<QString>("text");
        for (const char* text : {"10000", "1,1", "", " 12  34 ", "\xf0\x9f\x9a\x81x"})
            QTest::newRow(text) << QString::fromUtf8(text);
    }
    void fieldsAnswerTextQueriesAtEveryOffset()
    {
        QFETCH(QString, text);
        MainWindow window(settingsDirectory.path());
        auto* field = findControl<QLineEdit>(window, "TUM");
        field->setText(text);
        QAccessibleTextInterface* queried =
            QAccessible::queryAccessibleInterface(field)->textInterface();
        QVERIFY(queried);
        const int length = int(text.size());
        for (int boundary = QAccessible::CharBoundary; boundary <= QAccessible::NoBoundary;
             ++boundary) {
            const auto type = QAccessible::TextBoundaryType(boundary);
            for (int offset = 0; offset <= length; ++offset) {
                int start = -1, end = -1, beforeStart = -1, beforeEnd = -1, afterStart = -1,
                    afterEnd = -1;
                const QString at = queried->textAtOffset(offset, type, &start, &end);
                const QString before =
                    queried->textBeforeOffset(offset, type, &beforeStart, &beforeEnd);
                const QString after =
                    queried->textAfterOffset(offset, type, &afterStart, &afterEnd);
                const QString where =
                    QStringLiteral("boundary %1, offset %2").arg(boundary).arg(offset);
                QVERIFY2(0 <= start && start <= end && end <= length, qPrintable(where));
                QCOMPARE(at, text.mid(start, end - start));
                QCOMPARE(before, text.mid(beforeStart, beforeEnd - beforeStart));
                QCOMPARE(after, text.mid(afterStart, afterEnd - afterStart));
                QVERIFY2(offset == length ? end == length : start <= offset && offset < end,
                         qPrintable(where));
                QVERIFY2(beforeEnd <= start && afterStart >= end, qPrintable(where));
                int runStart = -1, runEnd = -1;
                queried->attributes(offset, &runStart, &runEnd);
                QCOMPARE(runStart, 0);
                QCOMPARE(runEnd, length);
            }
        }
        // Far outside the text, as any program on the accessibility bus may
        // ask: nothing there, and the answers lie within the text.
        for (const int offset :
             {std::numeric_limits<int>::min(), -1, length + 1, std::numeric_limits<int>::max()}) {
            int start = -1, end = -1;
            queried->textAtOffset(offset, QAccessible::WordBoundary, &start, &end);
            QVERIFY(0 <= start && start <= end && end <= length);
            QCOMPARE(queried->characterRect(offset), QRect());
            QVERIFY(text.contains(queried->text(offset, std::numeric_limits<int>::max())));
            queried->setCursorPosition(offset);
            QVERIFY(0 <= queried->cursorPosition() && queried->cursorPosition() <= length);
        }
        // The pieces a reader moves by, in "12 34": words keep their spaces,
        // the end of the text is no word, and the line is the whole text.
        field->setText(QStringLiteral("12 34"));
        int start = 0, end = 0;
        QCOMPARE(queried->textAtOffset(0, QAccessible::WordBoundary, &start, &end), "12 ");
        QCOMPARE(queried->textAtOffset(4, QAccessible::WordBoundary, &start, &end), "34");
        QCOMPARE(queried->textAtOffset(5, QAccessible::WordBoundary, &start, &end), "");
        QCOMPARE(queried->textBeforeOffset(5, QAccessible::WordBoundary, &start, &end), "34");
        QCOMPARE(queried->textAfterOffset(0, QAccessible::WordBoundary, &start, &end), "34");
        QCOMPARE(queried->textAtOffset(5, QAccessible::LineBoundary, &start, &end), "12 34");
        QCOMPARE(queried->textAtOffset(3, QAccessible::CharBoundary, &start, &end), "3");
    }

#ifdef QT_DBUS_LIB
    // In front of Qt's bus adaptor, at once: text ranges and every
    // insertion are answered here, the field holding at most what was given,
    // without control characters; the rest goes on to the adaptor.
    void busCallGuardAnswersHostileCalls_data()
    {
        constexpr int smallest = std::numeric_limits<int>::min();
        constexpr int largest = std::numeric_limits<int>::max();
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<bool>("handedOn");
        QTest::addColumn<QString>("expected");
        const QString extents = QStringLiteral("GetRangeExtents");
        const QString insert = QStringLiteral("InsertText");
        QTest::newRow("from -2^31")
            << extents << QVariantList{smallest, -1, 0u} << false << "10000";
        QTest::newRow("to 2^31-1") << extents << QVariantList{0, largest, 0u} << false << "10000";
        QTest::newRow("to length + 1") << extents << QVariantList{0, 6, 0u} << false << "10000";
        QTest::newRow("the whole text") << extents << QVariantList{0, -1, 0u} << false << "10000";
        QTest::newRow("the text itself")
            << QStringLiteral("GetText") << QVariantList{0, -1} << true << "10000";
        QTest::newRow("too few arguments") << extents << QVariantList{0} << false << "10000";
        QTest::newRow("claiming 64") << insert << QVariantList{0, "abc", 64} << false << "abc10000";
        QTest::newRow("claiming 2^31-1")
            << insert << QVariantList{smallest, "abc", largest} << false << "abc10000";
        QTest::newRow("claiming -1") << insert << QVariantList{0, "abc", -1} << false << "10000";
        // A NUL ends the given text; control characters become spaces or go.
        QTest::newRow("a NUL within")
            << insert << QVariantList{0, QStringLiteral("ab\0heap"), 64} << false << "ab10000";
        QTest::newRow("a tab and an escape")
            << insert << QVariantList{0, "1\t2\x1b", 4} << false << "1 210000";
    }
    void busCallGuardAnswersHostileCalls()
    {
        QFETCH(QString, member);
        QFETCH(QVariantList, arguments);
        QFETCH(bool, handedOn);
        QFETCH(QString, expected);
        MainWindow window(settingsDirectory.path());
        auto* field = findControl<QLineEdit>(window, "TUM");
        CountingAdaptor adaptor;
        auto* guard = new BusCallGuard(&adaptor);
        QDBusMessage message = QDBusMessage::createMethodCall(
            QStringLiteral(":1.1"),
            QStringLiteral("/org/a11y/atspi/accessible/%1")
                .arg(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(field))),
            member == "InsertText" ? "org.a11y.atspi.EditableText" : "org.a11y.atspi.Text", member);
        message.setArguments(arguments);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(guard->handleMessage(message, QDBusConnection(QStringLiteral("unconnected"))));
        QVERIFY(clock.elapsed() < 100);
        QCOMPARE(adaptor.calls, handedOn ? 1 : 0);
        QCOMPARE(field->text(), expected);
    }

    // Places and sizes reach screen readers in the screen's own pixels (at
    // a scale of 2 twice Qt's), counted from the top left of the screen, of
    // the inside of the window or of the parent (the panel) as asked, with
    // the window away from the screen's corner.
    void busCallGuardGivesPlacesInScreenPixels_data()
    {
        addTextRows(
            {"control", "member", "coordType", "from", "box", "numbers"},
            {{"field on the screen", "TUM", "GetExtents", "0", "screen", "control", "xywh"},
             {"field in the window", "TUM", "GetExtents", "1", "window", "control", "xywh"},
             {"field in its panel", "TBL", "GetExtents", "2", "panel", "control", "xywh"},
             {"stepper's place in the window", "CUMU", "GetPosition", "1", "window", "control",
              "xy"},
             {"stepper's size", "CUMU", "GetSize", "", "screen", "control", "wh"},
             {"a character on the screen", "TUM", "GetCharacterExtents", "0", "screen", "character",
              "xywh"},
             {"a character in the window", "TUM", "GetCharacterExtents", "1", "window", "character",
              "xywh"},
             {"the text in the window", "TUM", "GetRangeExtents", "1", "window", "text", "xywh"}});
    }
    void busCallGuardGivesPlacesInScreenPixels()
    {
        QFETCH(QString, control);
        QFETCH(QString, member);
        QFETCH(QString, coordType);
        QFETCH(QString, from);
        QFETCH(QString, box);
        QFETCH(QString, numbers);
        MainWindow window(settingsDirectory.path());
        window.move(200, 120);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.screen()->geometry().topLeft(), QPoint());
        const QWidget* widget = findControl(window, control);
        // Where Qt has it, in its own pixels on the screen.
        QRect placed(widget->mapToGlobal(QPoint()), widget->size());
        if (box != "control") {
            const QAccessibleTextInterface* text =
                QAccessible::queryAccessibleInterface(const_cast<QWidget*>(widget))
                    ->textInterface();
            placed = text->characterRect(0);
            if (box == "text") // "10000"
                placed |= text->characterRect(4);
            QVERIFY(!placed.isEmpty());
        }
        const QPoint origin = from == "window"  ? window.mapToGlobal(QPoint())
                              : from == "panel" ? widget->parentWidget()->mapToGlobal(QPoint())
                                                : QPoint();
        if (from == "panel") // Rotor's, away from the window's top left
            QCOMPARE(widget->parentWidget()->objectName(), QStringLiteral("PanelRotor"));
        const qreal scale = window.devicePixelRatio();
        const QPoint place = (QPointF(placed.topLeft() - origin) * scale).toPoint();
        const QSize size = (QSizeF(placed.size()) * scale).toSize();
        QList<int> expected;
        if (numbers.startsWith(u'x'))
            expected << place.x() << place.y();
        if (numbers.endsWith(u'h'))
            expected << size.width() << size.height();

        CountingAdaptor adaptor;
        PeerBus bus(new BusCallGuard(&adaptor));
        QVariantList arguments;
        if (member == "GetCharacterExtents")
            arguments << 0;
        if (member == "GetRangeExtents")
            arguments << 0 << -1;
        if (!coordType.isEmpty())
            arguments << coordType.toUInt();
        const bool ofText = member == "GetCharacterExtents" || member == "GetRangeExtents";
        const QString interface = ofText ? QStringLiteral("org.a11y.atspi.Text")
                                         : QStringLiteral("org.a11y.atspi.Component");
        const QDBusMessage reply = bus.call(widget, interface, member, arguments);
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        QCOMPARE(numbersOf(reply), expected);
        QCOMPARE(adaptor.calls, 0);
    }

    // Answered at once, where Qt's adaptor would not answer at all (the
    // caller then waits out its timeout) or would read past the arguments.
    void busCallGuardAnswersAtOnce_data()
    {
        QTest::addColumn<QString>("interface");
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QString>("signature");
        QTest::addColumn<QString>("error");
        const QString text = QStringLiteral("org.a11y.atspi.Text");
        const QString component = QStringLiteral("org.a11y.atspi.Component");
        const QString invalid = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
        QTest::newRow("the ranges within a box")
            << text << "GetBoundedRanges" << QVariantList{0, 0, 2000, 2000, 0u, 0u, 0u} << "a(iisv)"
            << "";
        QTest::newRow("an unknown coordinate type")
            << component << "GetExtents" << QVariantList{3u} << "" << invalid;
        QTest::newRow("a character, unknown coordinate type")
            << text << "GetCharacterExtents" << QVariantList{0, 7u} << "" << invalid;
        QTest::newRow("no coordinate type")
            << component << "GetPosition" << QVariantList{} << "" << invalid;
        QTest::newRow("bounded ranges, too few arguments")
            << text << "GetBoundedRanges" << QVariantList{0, 0} << "" << invalid;
    }
    void busCallGuardAnswersAtOnce()
    {
        QFETCH(QString, interface);
        QFETCH(QString, member);
        QFETCH(QVariantList, arguments);
        QFETCH(QString, signature);
        QFETCH(QString, error);
        MainWindow window(settingsDirectory.path());
        window.show();
        CountingAdaptor adaptor;
        PeerBus bus(new BusCallGuard(&adaptor));
        QElapsedTimer clock;
        clock.start();
        const QDBusMessage reply =
            bus.call(findControl(window, "TUM"), interface, member, arguments);
        QVERIFY(clock.elapsed() < 1000);
        QCOMPARE(reply.errorName(), error);
        if (error.isEmpty())
            QCOMPARE(reply.signature(), signature);
        QCOMPARE(adaptor.calls, 0);
    }
#endif

    // Each result is labelled by its caption, and read by its visible text.
    void captionsLabelTheirResults()
    {
        MainWindow window(settingsDirectory.path());
        window.show();
        setText(window, "TTC0", "300");
        click(window, "CCalc2");
        click(window, "CCalc3");
        for (const OutputRow& row : outputTable) {
            QAccessibleInterface* result =
                QAccessible::queryAccessibleInterface(findControl(window, row.objectName));
            const auto labels = result->relations(QAccessible::Label);
            QCOMPARE(labels.size(), 1);
            QCOMPARE(labels.first().first->object()->objectName(),
                     QStringLiteral("Caption") + row.objectName);
            QVERIFY(!textOf(window, row.objectName).isEmpty());
            QCOMPARE(result->text(QAccessible::Name), textOf(window, row.objectName));
        }
    }
};

QTEST_MAIN(WindowScreenReaderTest)
#include "test_window_screen_reader.moc"
