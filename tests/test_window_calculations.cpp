// SPDX-License-Identifier: GPL-3.0-or-later
// Calculations through the real window: defaults, options, "Berechnen", unit
// boxes, steppers, message boxes and the click into the ratio field.

#include "window_support.h"

class WindowCalculationsTest : public WindowSuite {
    Q_OBJECT

private slots:
    // Every test starts in German, whatever locale the one before left.
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // Decimal defaults follow the user's separator, so that they read as meant.
    void opensWithTheDefaults_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany);
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates);
    }
    void opensWithTheDefaults()
    {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        MainWindow window(settingsDirectory.path());
        const char* const defaults[][2] = {
            {"TUM", "10000"}, {"TAsc", "15"}, {"TSlip", "25"}, {"TSpeed", ""},   {"TBL", "600"},
            {"TML", "150"},   {"TBW", "150"}, {"TBS", "1500"}, {"TUV", "800"},   {"TCC", "20"},
            {"TVC", "1,1"},   {"TTR1", "10"}, {"TTR2", "200"}, {"TTR0", ""},     {"TRC", "4,5"},
            {"TCA", "20"},    {"TTC0", ""},   {"TCQ", "2,5"},  {"TCAP", "3000"}, {"TUSE", "80"},
            {"TLOAD", "85"},  {"THS", "800"}};
        for (const auto& [field, text] : defaults)
            QCOMPARE(textOf(window, field),
                     QString::fromLatin1(text).replace(u',', locale.decimalPoint()));
        for (const OutputRow& row : outputTable)
            QCOMPARE(textOf(window, row.objectName), QString());
    }

    void opensWithOptionTwoAndBoxesCleared()
    {
        MainWindow window(settingsDirectory.path());
        QVERIFY(findControl<QRadioButton>(window, "OPC(2)")->isChecked());
        QVERIFY(!findControl<QCheckBox>(window, "CInch")->isChecked());
        QVERIFY(!findControl<QCheckBox>(window, "CSpeed")->isChecked());
        QCOMPARE(window.windowTitle(), QStringLiteral("JOLV"));
        QTRY_VERIFY(!window.windowIcon().isNull());
        QCOMPARE(window.windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));
    }

    void choosingAnOptionChangesNoText()
    {
        MainWindow window(settingsDirectory.path());
        window.show();
        const auto before = allTexts(window);
        for (const char* option : {"OPC(0)", "OPC(1)", "OPC(2)"}) {
            click(window, option);
            QVERIFY(findControl<QRadioButton>(window, option)->isChecked());
            QCOMPARE(allTexts(window), before);
        }
    }

    void speedPanelCalculates_data()
    {
        addTextRows({"option", "target", "speed", "expected"},
                    {{"speed", "OPC(2)", "TSpeed", "", "68"},
                     {"rpm", "OPC(0)", "TUM", "68", "10100"},
                     {"pitch", "OPC(1)", "TAsc", "68", "15"}});
    }
    void speedPanelCalculates()
    {
        QFETCH(QString, option);
        QFETCH(QString, target);
        QFETCH(QString, speed);
        QFETCH(QString, expected);
        MainWindow window(settingsDirectory.path());
        window.show();
        setText(window, "TSpeed", speed);
        click(window, option);
        QCOMPARE(messageDuring([&] { click(window, "CCalc"); }), QString());
        QCOMPARE(textOf(window, target), expected);
    }

    // The ticked boxes name the units of what is typed and what is worked
    // out: km/h = U/min * Steigung in cm / 100 * (1 - Schlupf / 100) * 60 /
    // 1000, with 2,54 cm to the inch, m/s = km/h / 3,6, rounded to whole units.
    void speedFollowsTheTickedUnits_data()
    {
        QTest::addColumn<bool>("inch");
        QTest::addColumn<bool>("metresPerSecond");
        QTest::newRow("Zoll") << true << false;
        QTest::newRow("m/s") << false << true;
        QTest::newRow("Zoll and m/s") << true << true;
    }
    void speedFollowsTheTickedUnits()
    {
        QFETCH(bool, inch);
        QFETCH(bool, metresPerSecond);
        MainWindow window(settingsDirectory.path());
        window.show();
        if (inch)
            click(window, "CInch");
        if (metresPerSecond)
            click(window, "CSpeed");
        setText(window, "TUM", "12000");
        setText(window, "TAsc", "21");
        setText(window, "TSlip", "20");
        QCOMPARE(messageDuring([&] { click(window, "CCalc"); }), QString());
        const double pitchInCm = inch ? 21 * 2.54 : 21;
        const double kmh = 12000 * pitchInCm / 100 * (1 - 20 / 100.0) * 60 / 1000;
        // 307,24 and 120,96 km/h; 85,34 and 33,6 m/s: far from a half.
        const double speed = metresPerSecond ? kmh / 3.6 : kmh;
        QCOMPARE(textOf(window, "TSpeed"), QString::number(std::lround(speed)));
    }

    void speedPanelShowsItsMessages_data()
    {
        addTextRows({"rpm", "message"}, {{"too few", "", "JOLV|Zu wenig Angaben !"},
                                         {"not a number", "abc", "JOLV|Ungültige Angaben !"}});
    }
    void speedPanelShowsItsMessages()
    {
        QFETCH(QString, rpm);
        QFETCH(QString, message);
        MainWindow window(settingsDirectory.path());
        window.show();
        setText(window, "TUM", rpm);
        setText(window, "TSpeed", "50");
        // Read while the box shows, before messageDuring closes it.
        QString iconName;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&iconName, &icon] {
            const auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            icon = box->icon();
            for (QLabel* label : box->findChildren<QLabel*>())
                if (!label->pixmap().isNull())
                    iconName =
                        QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
        });
        QCOMPARE(messageDuring([&] { click(window, "CCalc"); }), message);
        QCOMPARE(icon, QMessageBox::Information);
        QCOMPARE(iconName, QStringLiteral("Information"));
        QCOMPARE(textOf(window, "TSpeed"), QString());
        QCOMPARE(textOf(window, "TUM"), rpm);
        QCOMPARE(textOf(window, "TAsc"), QStringLiteral("15"));
    }

    void unitBoxesConvertTheirField_data()
    {
        addTextRows({"box", "field", "before", "ticked", "cleared"},
                    {{"Zoll 15", "CInch", "TAsc", "15", "6", "15"},
                     {"Zoll 16", "CInch", "TAsc", "16", "6,5", "16,5"},
                     {"m/s 68", "CSpeed", "TSpeed", "68", "19", "68"},
                     {"m/s 100", "CSpeed", "TSpeed", "100", "28", "101"},
                     {"m/s empty", "CSpeed", "TSpeed", "", "", ""},
                     {"Zoll letters", "CInch", "TAsc", "x", "x", "x"}});
    }
    void unitBoxesConvertTheirField()
    {
        QFETCH(QString, box);
        QFETCH(QString, field);
        QFETCH(QString, before);
        QFETCH(QString, ticked);
        QFETCH(QString, cleared);
        MainWindow window(settingsDirectory.path());
        window.show();
        setText(window, field, before);
        auto* checkBox = findControl<QCheckBox>(window, box);
        click(window, box);
        QVERIFY(checkBox->isChecked());
        QCOMPARE(textOf(window, field), ticked);
        click(window, box);
        QVERIFY(!checkBox->isChecked());
        QCOMPARE(textOf(window, field), cleared);
    }

    void steppersStepAndRecalculate_data()
    {
        addTextRows({"button", "field", "stepped", "label", "result"},
                    {{"speed panel", "CAscU", "TAsc", "15,5", "TSpeed", "70"},
                     {"rotor panel", "CBLU", "TBL", "610", "LTH", "1370"},
                     {"power panel", "TCAU", "TCA", "21", "LUV", "20,11"},
                     {"power panel motor", "TUVD", "TUV", "790", "LUM", "15958"},
                     // The computed field's own stepper leaves no trace of its step.
                     {"computed field", "CSpeedU", "TSpeed", "68", "TSpeed", "68"}});
    }
    void steppersStepAndRecalculate()
    {
        QFETCH(QString, button);
        QFETCH(QString, field);
        QFETCH(QString, stepped);
        QFETCH(QString, label);
        QFETCH(QString, result);
        MainWindow window(settingsDirectory.path());
        window.show();
        QCOMPARE(messageDuring([&] { click(window, button); }), QString());
        QCOMPARE(textOf(window, field), stepped);
        QCOMPARE(textOf(window, label), result);
    }

    // At its bound the value stays, yet the field is rewritten and the panel
    // recalculated.
    void clickAtTheLimitStillRecalculates()
    {
        MainWindow window(settingsDirectory.path());
        window.show();
        setText(window, "TCC", "36,0");
        click(window, "TCCU");
        QCOMPARE(textOf(window, "TCC"), QStringLiteral("36"));
        QCOMPARE(textOf(window, "LUM"), QStringLiteral("29088"));
    }

    // Held down, a stepper repeats; the results follow every step.
    void heldStepperRepeats()
    {
        MainWindow window(settingsDirectory.path());
        window.show();
        auto* up = findControl<QPushButton>(window, "CBLU");
        QTest::mousePress(up, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(textOf(window, "TBL").toInt() >= 630, 5000);
        QTest::mouseRelease(up, Qt::LeftButton);
        const int blade = textOf(window, "TBL").toInt();
        QCOMPARE(textOf(window, "LTH"), QString::number(2 * blade + 150));
    }

    // A held stepper that makes the Speed panel complain shows one box, not
    // a box behind every repeated step.
    void heldStepperShowsOneMessage()
    {
        MainWindow window(settingsDirectory.path());
        window.show();
        setText(window, "TUM", "");
        auto boxes = std::make_shared<int>(0);
        QTimer closer;
        connect(&closer, &QTimer::timeout, [boxes] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ++*boxes;
                box->accept();
            }
        });
        closer.start(50);
        auto* up = findControl<QPushButton>(window, "CAscU");
        QTest::mousePress(up, Qt::LeftButton);
        QTest::qWait(1500);
        QTest::mouseRelease(up, Qt::LeftButton);
        QTest::qWait(100);
        QCOMPARE(*boxes, 1);
    }

    void steppingIgnoresTheUnitBoxes()
    {
        MainWindow window(settingsDirectory.path());
        window.show();
        click(window, "CInch"); // 15 cm become 6 inches
        click(window, "CSpeed");
        setText(window, "TAsc", "23,5");
        click(window, "CAscU");
        QCOMPARE(textOf(window, "TAsc"), QStringLiteral("24"));
        click(window, "CAscU");
        QCOMPARE(textOf(window, "TAsc"), QStringLiteral("24"));
        click(window, "OPC(1)");
        setText(window, "TSpeed", "499,5");
        click(window, "CSpeedU");
        QCOMPARE(textOf(window, "TSpeed"), QStringLiteral("500"));
    }

    void rotorAndPowerButtonsCalculate()
    {
        MainWindow window(settingsDirectory.path());
        window.show();
        click(window, "CCalc3");
        QCOMPARE(textOf(window, "LTH"), QStringLiteral("1350"));
        QCOMPARE(textOf(window, "LCirc"), QStringLiteral("143,14"));
        QCOMPARE(textOf(window, "LSpeed"), QStringLiteral("381,70"));
        QCOMPARE(textOf(window, "LPull"), QStringLiteral("254,66"));
        click(window, "CCalc2");
        QCOMPARE(textOf(window, "LVA"), QStringLiteral("1,01"));
        QCOMPARE(textOf(window, "LUV"), QStringLiteral("20,20"));
        QCOMPARE(textOf(window, "LUM"), QStringLiteral("16160"));
        QCOMPARE(textOf(window, "LTRR"), QStringLiteral("20,0:1"));
        QCOMPARE(textOf(window, "LPRP"), QStringLiteral("808"));
        QCOMPARE(textOf(window, "LQA"), QString());
    }

    // The Flug panel by its own "Berechnen" and steppers, and after every
    // Power calculation: Power's "Berechnen", a stepper, the click into
    // "Getriebe". Texts: LPOW, LCRATE, LTIME, LHEAD and LPIN.
    void flightPanelFollowsThePowerPanel_data()
    {
        addTextRows({"ratio", "control", "texts"},
                    {{"its Berechnen", "", "CCalc4", "404 6,7 7,2 687 11,6"},
                     {"Power's Berechnen", "", "CCalc2", "404 6,7 7,2 687 11,6"},
                     // 20 x (1,1 - 21 x 0,0045) = 20,11 V, 16088 U/min.
                     {"a Power stepper", "", "TCAU", "422 7,0 6,9 684 11,7"},
                     {"its load stepper", "", "CLOADD", "404 6,7 7,2 679 11,8"},
                     {"a ratio typed: no pinion", "12,5", "TTR0", "404 6,7 7,2 1099 "}});
    }
    void flightPanelFollowsThePowerPanel()
    {
        QFETCH(QString, ratio);
        QFETCH(QString, control);
        QFETCH(QString, texts);
        MainWindow window(settingsDirectory.path());
        window.show();
        setText(window, "TTR0", ratio);
        QCOMPARE(messageDuring([&] { click(window, control); }), QString());
        QStringList shown;
        for (const char* label : {"LPOW", "LCRATE", "LTIME", "LHEAD", "LPIN"})
            shown << textOf(window, label);
        QCOMPARE(shown.join(u' '), texts);
        // Nothing of the Rotor and Speed panels is written.
        QCOMPARE(textOf(window, "LTH"), QString());
        QCOMPARE(textOf(window, "TSpeed"), QString());
    }

    void clickIntoRatioFieldRecalculatesButTabDoesNot()
    {
        MainWindow window(settingsDirectory.path());
        QVERIFY(shownActive(window));
        auto* pinionDown = findControl<QWidget>(window, "TTR1D");
        pinionDown->setFocus();
        QTest::keyClick(pinionDown, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("TTR0"));
        QCOMPARE(textOf(window, "LUM"), QString());
        setText(window, "TTR0", "12,5");
        click(window, "TTR0");
        QCOMPARE(textOf(window, "LTRR"), QStringLiteral("12,5:1"));
        QCOMPARE(textOf(window, "LPRP"), QStringLiteral("1293"));
    }
};

QTEST_MAIN(WindowCalculationsTest)
#include "test_window_calculations.moc"
