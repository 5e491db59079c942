// SPDX-License-Identifier: GPL-3.0-or-later
// The window's layout: where every control stands, what it shows, and that
// its texts and marks fit their boxes whatever the style.

#include "window_support.h"

// clang-format off
// What every caption, heading, button, box and footer line shows, and the
// tooltip, which a caption's field and result repeat to screen readers.
const char* const shown[][3] = {
    {"CaptionTUM", "U/min", "Umdrehungen pro Minute"}, {"CaptionTAsc", "Steigung", "Steigung"},
    {"CaptionTSlip", "Schlupf %", "Schlupf"}, {"CaptionTSpeed", "Speed", "Antriebsgeschwindigkeit"},
    {"CaptionTBL", "Blattlänge", "Länge eines Blatts in mm"},
    {"CaptionLTH", "Durchmesser:", "Durchmesser in mm"},
    {"CaptionTML", "Mittelstück", "Länge des Mittelstücks in mm"},
    {"CaptionLPull", "Zug/Blatt:", "Zug pro Blatt in Kg"},
    {"CaptionTBW", "Blattgewicht", "Gewicht eines Blatts in g"},
    {"CaptionLCirc", "Kreisfläche:", "Kreisfläche in Quadratdezimeter"},
    {"CaptionTBS", "U/Min", "Umdrehungen pro Minute"},
    {"CaptionLSpeed", "Km/h:", "Kilometer pro Stunde"},
    {"CaptionTUV", "U/Volt Motor", "Umdrehungen pro Volt des Motors"},
    {"CaptionTCC", "Zellenanzahl", "Zellenanzahl"}, {"CaptionTVC", "Volt/Zelle", "Volt pro Zelle"},
    {"CaptionTTR1", "Ritzel", "Anzahl Zähne Rithel"},
    {"CaptionTTR2", "Zahnrad", "Anzahl Zähne Hauptzahnrad"},
    {"CaptionTTR0", "Getriebe", "Untersetzung oder leer für Berechnung"},
    {"CaptionTRC", "Ri / Zelle", "Innenwiderstand pro Zelle in MilliOhm"},
    {"CaptionTCA", "Strom", "Strom in Ampere"},
    {"CaptionTTC0", "Kabellänge", "Einfache Kabellänge in mm"},
    {"CaptionTCQ", "Kabelfläche", "Kabelquerschnitt in qmm"},
    {"CaptionLUM", "U/Motor:", "Umdrehungen des Motors pro Minute"},
    {"CaptionLPRP", "U/Prop/Rotor:", "Umdrehungen des Prop/Rotors pro Minute"},
    {"CaptionLTRR", "Untersetzung:", "Getriebeuntersetzung"},
    {"CaptionLUV", "Spannung", "Spannung in Volt"},
    {"CaptionLVA", "Volt / Zelle", "Spannung pro Zelle"},
    {"CaptionLQA", "Verlust Volt", "Spannungsverlust in Volt"}, {"HeadingSpeed", "Speed", ""},
    {"HeadingRotor", "Rotor", ""}, {"HeadingPower", "Power", ""}, {"CInch", "Zoll", ""},
    {"CSpeed", "m/s", ""}, {"CCalc", "Berechnen", ""}, {"CCalc3", "Berechnen", ""},
    {"CCalc2", "Berechnen", ""}, {"LCopy", "© 2026 Autoren", ""}, {"LVersion", "Version 1.5", ""},
    {"HeadingFlight", "Flug", ""}, {"CCalc4", "Berechnen", ""},
    {"CaptionTCAP", "Kapazität", "Kapazität des Akkus in mAh"},
    {"CaptionTUSE", "Nutzbar %", "Nutzbarer Anteil der Kapazität in Prozent"},
    {"CaptionTLOAD", "Lastfaktor %", "Drehzahl unter Last in Prozent der Leerlaufdrehzahl"},
    {"CaptionTHS", "Soll U/min", "Gewünschte Drehzahl des Prop/Rotors unter Last"},
    {"CaptionLPOW", "Leistung:", "Leistung in Watt"},
    {"CaptionLCRATE", "C-Rate:", "Strom im Verhältnis zur Kapazität"},
    {"CaptionLTIME", "Flugzeit:", "Flugzeit in Minuten mit dem nutzbaren Anteil"},
    {"CaptionLHEAD", "U/Rotor Last:", "Umdrehungen des Prop/Rotors pro Minute unter Last"},
    {"CaptionLPIN", "Ritzel:", "Zähne des Ritzels für die Soll-Drehzahl"},
};
// clang-format on

class WindowLayoutTest : public WindowSuite {
    Q_OBJECT

private slots:
    // Every control and panel stands where layout.golden puts it, and the
    // window has no other: its pixels, back in twips at the screen's
    // resolution, lie within half a pixel of the table's twips.
    void controlsStandWhereTheyBelong()
    {
        QFile file(QStringLiteral(":/layout.golden"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QMap<QString, QRect> golden;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QList<QByteArray> words = line.simplified().split(' ');
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            QCOMPARE(words.size(), 5);
            golden.insert(QString::fromLatin1(words[0]), QRect(words[1].toInt(), words[2].toInt(),
                                                               words[3].toInt(), words[4].toInt()));
        }
        MainWindow window(settingsDirectory.path());
        QCOMPARE(window.screen()->logicalDotsPerInchX(), 96.0);
        const double perPixelX = 1440 / window.screen()->logicalDotsPerInchX();
        const double perPixelY = 1440 / window.screen()->logicalDotsPerInchY();
        // The window's pixels back in twips, each number taken as the table's
        // where it lies within half a pixel of it: the window rounds to pixels.
        const auto inTwips = [](int pixels, double perPixel, int listed) {
            const double twips = pixels * perPixel;
            return std::abs(twips - listed) <= perPixel / 2 ? listed : qRound(twips);
        };
        for (const QWidget* control : window.findChildren<QWidget*>()) {
            const QString name = control->objectName();
            if (name == u"Announcer") // for screen readers, without room of its own
                continue;
            QVERIFY2(golden.contains(name), qPrintable(name)); // one the table lacks
            const QRect listed = golden.take(name);
            const QRect pixels(control->mapTo(&window, QPoint()), control->size());
            const QRect placed(inTwips(pixels.x(), perPixelX, listed.x()),
                               inTwips(pixels.y(), perPixelY, listed.y()),
                               inTwips(pixels.width(), perPixelX, listed.width()),
                               inTwips(pixels.height(), perPixelY, listed.height()));
            QCOMPARE(std::pair(name, placed), std::pair(name, listed));
        }
        QVERIFY2(golden.isEmpty(), qPrintable(QStringList(golden.keys()).join(u' '))); // missing
        QCOMPARE(window.size(), QSize(646, 383));
        QCOMPARE(window.minimumSize(), window.maximumSize());
    }

    void captionsAndTooltips_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        for (const auto& [control, caption, toolTip] : shown)
            QTest::newRow(control)
                << control << QString::fromUtf8(caption) << QString::fromUtf8(toolTip);
    }
    void captionsAndTooltips()
    {
        QFETCH(QString, control);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        MainWindow window(settingsDirectory.path());
        const QWidget* widget = findControl(window, control);
        const auto* button = qobject_cast<const QAbstractButton*>(widget);
        QCOMPARE(button ? button->text() : textOf(window, control), caption);
        QCOMPARE(widget->toolTip(), toolTip);
        // A caption's field repeats its tooltip; its result gives it to screen
        // readers as the description.
        if (const auto* label = qobject_cast<const QLabel*>(widget); label && label->buddy()) {
            const QWidget* buddy = label->buddy();
            QCOMPARE(qobject_cast<const QLineEdit*>(buddy) ? buddy->toolTip()
                                                           : buddy->accessibleDescription(),
                     toolTip);
        }
    }

    // Whatever style the desktop gives Qt, every caption and field text must
    // be readable whole in its box at 96 dpi, and every mark whole.
    void textsAndMarksFitTheirBoxes_data()
    {
        QTest::addColumn<QString>("style");
        for (const QString& style : QStyleFactory::keys())
            QTest::newRow(qPrintable(style)) << style;
    }
    void textsAndMarksFitTheirBoxes()
    {
        QFETCH(QString, style);
        const QString applicationStyle = QApplication::style()->name();
        const auto restoreStyle = qScopeGuard([&] { QApplication::setStyle(applicationStyle); });
        QApplication::setStyle(style);
        MainWindow window(settingsDirectory.path());
        window.ensurePolished();
        for (const ControlRow& row : controlTable()) {
            const QString name = controlName(row.control);
            const auto* control = findControl(window, name);
            const QFontMetrics metrics = control->fontMetrics();
            const ControlKind kind = row.control.kind;
            const Room room = roomOf(*control);
            QStringList texts{QString::fromUtf8(row.caption)};
            if (kind == ControlKind::TextBox)
                texts = {textOf(window, name), QStringLiteral("10000")};
            for (const QString& text : texts) {
                if (text.isEmpty())
                    continue;
                const QString what = name + u' ' + text;
                QVERIFY2(metrics.horizontalAdvance(text) <= room.text.width(), qPrintable(what));
                QVERIFY2(metrics.tightBoundingRect(text).height() <= room.text.height(),
                         qPrintable(what));
            }
            if (!room.mark.isNull())
                QVERIFY2(control->rect().contains(room.mark), qPrintable(name));
        }
    }

    // A result too long for its label shows its start and "…", never a number
    // cut on the left; its tooltip and screen readers get it whole.
    // Whether the first rows fit depends on the font: in Liberation Sans six
    // digits do and seven do not, under Wine seven do. Twelve never fit.
    void longResultsShowThatTheyDoNotFit_data()
    {
        addTextRows({"button", "field", "text", "result", "whole", "neverFits"},
                    {{"six digits", "CCalc2", "TUV", "49504", "LUM", "999981", ""},
                     {"seven digits", "CCalc2", "TUV", "49505", "LUM", "1000001", ""},
                     {"ratio", "CCalc2", "TTR2", "10000", "LTRR", "1000,0:1", ""},
                     {"negative", "CCalc2", "TCA", "1E9", "LUV", "-89999978,00", "yes"},
                     {"rotor", "CCalc3", "TBS", "298000", "LPull", "10051133,81", "yes"}});
    }
    void longResultsShowThatTheyDoNotFit()
    {
        QFETCH(QString, button);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, result);
        QFETCH(QString, whole);
        QFETCH(QString, neverFits);
        MainWindow window(settingsDirectory.path());
        window.show();
        setText(window, field, text);
        click(window, button);
        auto* label = findControl<QLabel>(window, result);
        const QString shown = label->text();
        const int width = label->contentsRect().width();
        QCOMPARE(label->accessibleName(), whole);
        if (label->fontMetrics().horizontalAdvance(whole) <= width) {
            QVERIFY(neverFits.isEmpty());
            QCOMPARE(shown, whole);
            QCOMPARE(label->toolTip(), QString());
        } else {
            // Its leading digits and a sign that more follow, never a cut number.
            QVERIFY2(shown.endsWith(u'…') && whole.startsWith(shown.chopped(1)), qPrintable(shown));
            QVERIFY(label->fontMetrics().horizontalAdvance(shown) <= width);
            QCOMPARE(label->toolTip(), whole);
        }
        // What a reader moving by objects reads.
        const QAccessibleTextInterface* read =
            QAccessible::queryAccessibleInterface(label)->textInterface();
        QVERIFY(read);
        QCOMPARE(read->text(0, read->characterCount()), whole);
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "test_window_layout.moc"
