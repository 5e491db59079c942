// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard in the real window: the tab order, every control within
// reach and in sight, the arrow keys, Return, Ctrl+1 to Ctrl+3 and Ctrl+R.

#include "window_support.h"

class WindowKeyboardTest : public WindowSuite {
    Q_OBJECT

private slots:
    void tabFollowsTheListedOrder()
    {
        MainWindow window(settingsDirectory.path());
        QVERIFY(shownActive(window));
        // The option group is one stop: Tab reaches its selected button only.
        const QStringList expected = {
            "TUM",    "TAsc",  "CInch", "TSlip",   "TSpeed",  "CSpeed", "CCalc",  "CUMD",   "CUMU",
            "OPC(2)", "CAscU", "CAscD", "CSpeedU", "CSpeedD", "CSlipU", "CSlipD", "CCalc2", "TUV",
            "TTR1",   "TCC",   "TVC",   "TTR2",    "TUVU",    "TUVD",   "TCCU",   "TCCD",   "TVCU",
            "TVCD",   "TTR1U", "TTR1D", "TTR0",    "CBLU",    "TBL",    "CBLD",   "CMLU",   "TML",
            "CMLD",   "CBWU",  "TBW",   "CBWD",    "CBSU",    "TBS",    "CBSD",   "CCalc3", "TRC",
            "TCA",    "TRCU",  "TRCD",  "TCAU",    "TCAD",    "TTC0",   "TCQU",   "TCQ",    "TCQD"};
        findControl(window, "TUM")->setFocus();
        QStringList visited{QApplication::focusWidget()->objectName()};
        while (visited.size() < expected.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
    }

    // Where the window fits its screen, it is the fixed window; where it
    // does not (offscreen's 800 x 800 at twice the scale: ctest runs this
    // as test_window_keyboard_scaled), it scrolls, and the focus, by Tab or by
    // Ctrl+1 to Ctrl+3, is always in sight.
    void everyControlCanBeReached_data()
    {
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("at 1x") << 1.0 << false;
        QTest::newRow("at 2x") << 2.0 << true;
    }
    void everyControlCanBeReached()
    {
        QFETCH(qreal, scale);
        QFETCH(bool, scrolls);
        MainWindow window(settingsDirectory.path());
        if (window.devicePixelRatio() != scale)
            QSKIP("for another scale factor");
        QVERIFY(shownActive(window));
        const auto* scrollArea = window.findChild<QScrollArea*>();
        QCOMPARE(scrollArea != nullptr, scrolls);
        const QSize screenArea = window.screen()->availableSize();
        QVERIFY(window.width() <= screenArea.width() && window.height() <= screenArea.height());
        const QWidget* visible = scrollArea ? scrollArea->viewport() : &window;
        const auto inSight = [&](const QWidget* control) {
            const QRect placed(control->mapTo(visible, QPoint()), control->size());
            return visible->rect().contains(placed);
        };
        findControl(window, "TCQD")->setFocus();
        for (std::size_t stop = 0; stop + 2 < tabOrder().size(); ++stop) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY2(inSight(QApplication::focusWidget()),
                     qPrintable(QApplication::focusWidget()->objectName()));
        }
        // Ctrl+1 to Ctrl+3 go to the first field of a panel, and change no text.
        const auto texts = allTexts(window);
        for (const auto& [key, first] : {std::pair('2', "TBL"), {'3', "TUV"}, {'1', "TUM"}}) {
            QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
            QCOMPARE(QApplication::focusWidget()->objectName(), first);
            QVERIFY2(inSight(QApplication::focusWidget()), first);
        }
        QCOMPARE(allTexts(window), texts);
    }

    // The arrow keys move round the options either way; the newly selected
    // option is then the group's tab stop.
    void arrowKeysMoveRoundTheOptions_data()
    {
        addTextRows({"from", "key", "to"}, {{"up", "OPC(2)", "Up", "OPC(1)"},
                                            {"left", "OPC(1)", "Left", "OPC(0)"},
                                            {"left round", "OPC(0)", "Left", "OPC(2)"},
                                            {"right", "OPC(0)", "Right", "OPC(1)"},
                                            {"down round", "OPC(2)", "Down", "OPC(0)"}});
    }
    void arrowKeysMoveRoundTheOptions()
    {
        QFETCH(QString, from);
        QFETCH(QString, key);
        QFETCH(QString, to);
        MainWindow window(settingsDirectory.path());
        QVERIFY(shownActive(window));
        auto* start = findControl<QRadioButton>(window, from);
        start->setChecked(true);
        start->setFocus();
        QTest::keySequence(start, QKeySequence(key));
        auto* chosen = findControl<QRadioButton>(window, to);
        QCOMPARE(QApplication::focusWidget(), chosen);
        QVERIFY(chosen->isChecked());
        findControl(window, "CUMU")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), chosen);
    }

    // Return and Enter press the focused button; in a field they change nothing.
    void returnPressesTheFocusedButton_data()
    {
        addTextRows({"focused", "key", "control", "expected"},
                    {{"Berechnen", "CCalc2", "Return", "LUM", "16160"},
                     {"stepper", "TCAU", "Return", "TCA", "21"},
                     {"keypad Enter", "CCalc3", "Num+Enter", "LTH", "1350"},
                     {"field", "TUV", "Return", "LUM", ""}});
    }
    void returnPressesTheFocusedButton()
    {
        QFETCH(QString, focused);
        QFETCH(QString, key);
        QFETCH(QString, control);
        QFETCH(QString, expected);
        MainWindow window(settingsDirectory.path());
        QVERIFY(shownActive(window));
        QWidget* widget = findControl(window, focused);
        widget->setFocus();
        QTest::keySequence(widget, QKeySequence(key));
        QCOMPARE(textOf(window, control), expected);
    }

    // Ctrl+R before any calculation says that there is nothing to repeat.
    void repeatingBeforeAnyResultSaysSo()
    {
        MainWindow window(settingsDirectory.path());
        QVERIFY(shownActive(window));
        AnnouncementRecorder recorder;
        findControl(window, "Announcer")->installEventFilter(&recorder);
        QTest::keyClick(&window, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(recorder.said, QStringList{QStringLiteral("Noch keine Ergebnisse")});
    }

    // Ctrl+1 to Ctrl+3 reach a panel's first field as Tab would: its whole
    // text selected, to be typed over, and so reported to screen readers.
    void panelShortcutsSelectTheFirstField_data()
    {
        addTextRows({"key", "field", "text"}, {{"Ctrl+1", "Ctrl+1", "TUM", "10000"},
                                               {"Ctrl+2", "Ctrl+2", "TBL", "600"},
                                               {"Ctrl+3", "Ctrl+3", "TUV", "800"}});
    }
    void panelShortcutsSelectTheFirstField()
    {
        QFETCH(QString, key);
        QFETCH(QString, field);
        QFETCH(QString, text);
        MainWindow window(settingsDirectory.path());
        QVERIFY(shownActive(window));
        findControl(window, "CCalc2")->setFocus();
        QTest::keySequence(QApplication::focusWidget(), QKeySequence(key));
        auto* reached = findControl<QLineEdit>(window, field);
        QCOMPARE(QApplication::focusWidget(), reached);
        QTRY_COMPARE(reached->selectedText(), text);
        int start = -1, end = -1;
        QAccessible::queryAccessibleInterface(reached)->textInterface()->selection(0, &start, &end);
        QCOMPARE(std::pair(start, end), std::pair(0, int(text.size())));
    }
};

QTEST_MAIN(WindowKeyboardTest)
#include "test_window_keyboard.moc"
