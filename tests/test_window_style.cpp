// SPDX-License-Identifier: GPL-3.0-or-later
// The window's style: the colours and fonts of results, buttons and the
// footer, the contrast of unticked marks and of the focus ring.

#include "window_support.h"

class WindowStyleTest : public WindowSuite {
    Q_OBJECT

private slots:
    // An unticked box or option stands out at least 3:1 from the window
    // behind it (WCAG's non-text contrast), whatever style the desktop gives Qt.
    void untickedMarksStandOut_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("control");
        for (const QString& style : QStyleFactory::keys())
            for (const char* control : {"CInch", "OPC(0)"})
                QTest::addRow("%s %s", qPrintable(style), control) << style << control;
    }
    void untickedMarksStandOut()
    {
        QFETCH(QString, style);
        QFETCH(QString, control);
        const QString applicationStyle = QApplication::style()->name();
        const auto restoreStyle = qScopeGuard([&] { QApplication::setStyle(applicationStyle); });
        QApplication::setStyle(style);
        MainWindow window(settingsDirectory.path());
        auto* button = findControl<QAbstractButton>(window, control);
        const QImage image = button->grab().toImage();
        const QRect mark = roomOf(*button).mark;
        const QRgb background = button->palette().color(QPalette::Window).rgb();
        int standingOut = 0;
        for (int y = mark.top(); y <= mark.bottom(); ++y)
            for (int x = mark.left(); x <= mark.right(); ++x)
                standingOut += contrastRatio(image.pixel(x, y), background) >= 3;
        // At least an outline down both sides of the mark.
        QVERIFY2(standingOut >= 2 * mark.width(), qPrintable(QString::number(standingOut)));
    }

    // Keyboard focus is marked by a ring that stands out at least 3:1 from
    // what the control shows without focus.
    void focusIsClearlyVisible_data()
    {
        QTest::addColumn<QString>("control");
        for (const char* control : {"CAscD", "CCalc", "TUM", "CInch", "OPC(2)"})
            QTest::newRow(control) << control;
    }
    void focusIsClearlyVisible()
    {
        QFETCH(QString, control);
        MainWindow window(settingsDirectory.path());
        QVERIFY(shownActive(window));
        QWidget* focused = findControl(window, control);
        findControl(window, "TCQU")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // by keyboard, to TCQ
        const QImage without = focused->grab().toImage();
        focused->setFocus(Qt::TabFocusReason);
        const QImage with = focused->grab().toImage();
        int standingOut = 0;
        for (int y = 0; y < with.height(); ++y)
            for (int x = 0; x < with.width(); ++x)
                standingOut += contrastRatio(with.pixel(x, y), without.pixel(x, y)) >= 3;
        // At least a ring round the whole control, one pixel wide.
        const int perimeter = 2 * (with.width() + with.height()) - 4;
        QVERIFY2(standingOut >= perimeter, qPrintable(QString::number(standingOut)));
    }

    void resultsAreRedAndFooterGrey()
    {
        MainWindow window(settingsDirectory.path());
        const auto colour = [&](const char* name) {
            return findControl<QWidget>(window, name)->palette().color(QPalette::WindowText);
        };
        QCOMPARE(colour("LUM"), QColor(255, 0, 0));
        QCOMPARE(colour("LSpeed"), QColor(255, 0, 0));
        QCOMPARE(colour("LCopy"), QColor(128, 128, 128));
        QVERIFY(findControl<QWidget>(window, "CCalc")->font().bold());
        QVERIFY(findControl<QWidget>(window, "HeadingSpeed")->font().italic());
        QCOMPARE(findControl<QWidget>(window, "TUM")->font().pointSizeF(), 8.25);
        QCOMPARE(findControl<QWidget>(window, "LUM")->font().pointSizeF(), 9.75);
    }
};

QTEST_MAIN(WindowStyleTest)
#include "test_window_style.moc"
