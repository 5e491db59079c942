// The real window, headless: controls from the table, defaults, the Speed
// panel's clicks, steppers, the click into the ratio field and the layout.

#include "app/control_table.h"
#include "app/main_window.h"
#include "support_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

void setText(QWidget& window, const char* name, const QString& text)
{
    auto* field = window.findChild<QLineEdit*>(QString::fromLatin1(name));
    QVERIFY2(field, name);
    field->setText(text);
}

void click(QWidget& window, const char* name)
{
    auto* control = window.findChild<QWidget*>(QString::fromLatin1(name));
    QVERIFY2(control, name);
    QTest::mouseClick(control, Qt::LeftButton);
}

// Every text of the window, to tell what a click changed.
QMap<QString, QString> allTexts(const QWidget& window)
{
    QMap<QString, QString> texts;
    for (const ControlRow& row : controlTable())
        if (row.kind == ControlKind::TextBox || row.kind == ControlKind::Output)
            texts.insert(QString::fromLatin1(row.name), textOf(window, row.name));
    return texts;
}

// Clicks a control that may show a modal message box, closes the box and
// hands back its caption and text ("" when none was shown).
QString messageAfterClicking(QWidget& window, const char* name)
{
    auto shown = std::make_shared<QString>();
    QTimer::singleShot(0, [shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            *shown = box->windowTitle() + '|' + box->text();
            box->accept();
        }
    });
    click(window, name);
    QCoreApplication::processEvents();
    return *shown;
}

QRect twipsToPixelsAt96Dpi(const TwipsRect& twips)
{
    return {twips.left / 15, twips.top / 15, twips.width / 15, twips.height / 15};
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDirectory; // never the user's own settings

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void opensWithTheDefaults_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("expected");
        const QLocale german(QLocale::German, QLocale::Germany);
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        const std::pair<const char*, const char*> germanDefaults[] = {
            {"TUM", "10000"},
            {"TAsc", "15"},
            {"TSlip", "25"},
            {"TSpeed", ""},
            {"TBL", "600"},
            {"TML", "150"},
            {"TBW", "150"},
            {"TBS", "1500"},
            {"TUV", "800"},
            {"TCC", "20"},
            {"TVC", "1,1"},
            {"TTR1", "10"},
            {"TTR2", "200"},
            {"TTR0", ""},
            {"TRC", "4,5"},
            {"TCA", "20"},
            {"TTC0", ""},
            {"TCQ", "2,5"},
            {"LUM", ""},
            {"LPRP", ""},
            {"LTRR", ""},
            {"LUV", ""},
            {"LVA", ""},
            {"LQA", ""},
            {"LTH", ""},
            {"LPull", ""},
            {"LCirc", ""},
            {"LSpeed", ""},
            {"LVersion", "Version 1.5"},
        };
        for (const auto& [control, text] : germanDefaults)
            QTest::newRow(control) << german << control << text;
        // Decimal defaults follow the user's separator, so they read as meant.
        QTest::newRow("TVC in English") << english << "TVC"
                                        << "1.1";
        QTest::newRow("TRC in English") << english << "TRC"
                                        << "4.5";
        QTest::newRow("TCQ in English") << english << "TCQ"
                                        << "2.5";
        QTest::newRow("TUM in English") << english << "TUM"
                                        << "10000";
    }
    void opensWithTheDefaults()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, control);
        QFETCH(QString, expected);
        QLocale::setDefault(locale);
        MainWindow window(settingsDirectory.path());
        QCOMPARE(textOf(window, qPrintable(control)), expected);
    }

    void opensWithOptionTwoAndBoxesCleared()
    {
        MainWindow window(settingsDirectory.path());
        QVERIFY(window.findChild<QRadioButton*>("OPC(2)")->isChecked());
        QVERIFY(!window.findChild<QCheckBox*>("CInch")->isChecked());
        QVERIFY(!window.findChild<QCheckBox*>("CSpeed")->isChecked());
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
            QVERIFY(window.findChild<QRadioButton*>(option)->isChecked());
            QCOMPARE(allTexts(window), before);
        }
    }

    void speedPanelCalculates_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("speed") << "OPC(2)"
                               << "TSpeed"
                               << ""
                               << "68";
        QTest::newRow("rpm") << "OPC(0)"
                             << "TUM"
                             << "68"
                             << "10100";
        QTest::newRow("pitch") << "OPC(1)"
                               << "TAsc"
                               << "68"
                               << "15";
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
        click(window, qPrintable(option));
        QCOMPARE(messageAfterClicking(window, "CCalc"), QString());
        QCOMPARE(textOf(window, qPrintable(target)), expected);
    }

    void speedPanelShowsItsMessages_data()
    {
        QTest::addColumn<QString>("rpm");
        QTest::addColumn<QString>("message");
        QTest::newRow("too few") << ""
                                 << "JOLV|Zu wenig Angaben !";
        QTest::newRow("not a number") << "abc"
                                      << "JOLV|Ungültige Angaben !";
    }
    void speedPanelShowsItsMessages()
    {
        QFETCH(QString, rpm);
        QFETCH(QString, message);
        MainWindow window(settingsDirectory.path());
        window.show();
        setText(window, "TUM", rpm);
        setText(window, "TSpeed", "50");
        QCOMPARE(messageAfterClicking(window, "CCalc"), message);
        QCOMPARE(textOf(window, "TSpeed"), QString());
        QCOMPARE(textOf(window, "TUM"), rpm);
        QCOMPARE(textOf(window, "TAsc"), QStringLiteral("15"));
    }

    void unitBoxesConvertTheirField_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("ticked");
        QTest::addColumn<QString>("cleared");
        QTest::newRow("Zoll 15") << "CInch"
                                 << "TAsc"
                                 << "15"
                                 << "6"
                                 << "15";
        QTest::newRow("Zoll 16") << "CInch"
                                 << "TAsc"
                                 << "16"
                                 << "6,5"
                                 << "16,5";
        QTest::newRow("m/s 68") << "CSpeed"
                                << "TSpeed"
                                << "68"
                                << "19"
                                << "68";
        QTest::newRow("m/s 100") << "CSpeed"
                                 << "TSpeed"
                                 << "100"
                                 << "28"
                                 << "101";
        QTest::newRow("m/s empty") << "CSpeed"
                                   << "TSpeed"
                                   << ""
                                   << ""
                                   << "";
        QTest::newRow("Zoll letters") << "CInch"
                                      << "TAsc"
                                      << "x"
                                      << "x"
                                      << "x";
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
        setText(window, qPrintable(field), before);
        auto* checkBox = window.findChild<QCheckBox*>(box);
        click(window, qPrintable(box));
        QVERIFY(checkBox->isChecked());
        QCOMPARE(textOf(window, qPrintable(field)), ticked);
        click(window, qPrintable(box));
        QVERIFY(!checkBox->isChecked());
        QCOMPARE(textOf(window, qPrintable(field)), cleared);
    }

    void steppersStepAndRecalculate_data()
    {
        struct Row {
            const char* name;
            const char* button;
            const char* field;
            const char* stepped;
            const char* label;
            const char* result;
        };
        const Row rows[] = {
            {"speed panel", "CAscU", "TAsc", "15,5", "TSpeed", "70"},
            {"rotor panel", "CBLU", "TBL", "610", "LTH", "1370"},
            {"power panel", "TCAU", "TCA", "21", "LUV", "20,11"},
            {"power panel motor", "TUVD", "TUV", "790", "LUM", "15958"},
            // The computed field's own stepper leaves no trace of its step.
            {"computed field", "CSpeedU", "TSpeed", "68", "TSpeed", "68"},
        };
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("stepped");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("result");
        for (const Row& row : rows)
            QTest::newRow(row.name)
                << row.button << row.field << row.stepped << row.label << row.result;
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
        QCOMPARE(messageAfterClicking(window, qPrintable(button)), QString());
        QCOMPARE(textOf(window, qPrintable(field)), stepped);
        QCOMPARE(textOf(window, qPrintable(label)), result);
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
        auto* up = window.findChild<QPushButton*>("CBLU");
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
        auto* up = window.findChild<QPushButton*>("CAscU");
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

    void clickIntoRatioFieldRecalculatesButTabDoesNot()
    {
        MainWindow window(settingsDirectory.path());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* pinionDown = window.findChild<QWidget*>("TTR1D");
        pinionDown->setFocus();
        QTest::keyClick(pinionDown, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("TTR0"));
        QCOMPARE(textOf(window, "LUM"), QString());
        setText(window, "TTR0", "12,5");
        click(window, "TTR0");
        QCOMPARE(textOf(window, "LTRR"), QStringLiteral("12,5:1"));
        QCOMPARE(textOf(window, "LPRP"), QStringLiteral("1293"));
    }

    void tabFollowsTheListedOrder()
    {
        MainWindow window(settingsDirectory.path());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.findChild<QWidget*>("TUM")->setFocus();
        QStringList visited;
        for (std::size_t i = 0; i < tabOrder().size(); ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QStringList expected;
        for (const char* name : tabOrder())
            expected << QString::fromLatin1(name);
        // The option group is one stop: Tab reaches its selected button only.
        expected.removeAll(QStringLiteral("OPC(0)"));
        expected.removeAll(QStringLiteral("OPC(1)"));
        visited = visited.mid(0, expected.size());
        QCOMPARE(visited, expected);
    }

    void arrowKeysMoveWithinTheOptionGroup()
    {
        MainWindow window(settingsDirectory.path());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* speedOption = window.findChild<QRadioButton*>("OPC(2)");
        speedOption->setFocus();
        QTest::keyClick(speedOption, Qt::Key_Up);
        auto* pitchOption = window.findChild<QRadioButton*>("OPC(1)");
        QCOMPARE(QApplication::focusWidget(), pitchOption);
        QVERIFY(pitchOption->isChecked());
        // Now the newly selected button is the group's tab stop.
        window.findChild<QWidget*>("CUMU")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), pitchOption);
    }

    void controlsStandAtTheirTwipsPositions_data()
    {
        QTest::addColumn<QString>("control");
        for (const char* name : {"TUM", "CCalc", "LTH", "TCQU", "LVersion", "HeadingRotor"})
            QTest::newRow(name) << name;
    }
    void controlsStandAtTheirTwipsPositions()
    {
        QFETCH(QString, control);
        MainWindow window(settingsDirectory.path());
        QCOMPARE(window.screen()->logicalDotsPerInchX(), 96.0);
        for (const ControlRow& row : controlTable())
            if (control == QLatin1String(row.name))
                QCOMPARE(window.findChild<QWidget*>(control)->geometry(),
                         twipsToPixelsAt96Dpi(row.twips));
        QCOMPARE(window.size(), QSize(646, 383));
        QCOMPARE(window.minimumSize(), window.maximumSize());
    }

    // Every caption must be readable whole in its box at 96 dpi.
    void captionsFitTheirBoxes()
    {
        MainWindow window(settingsDirectory.path());
        for (const ControlRow& row : controlTable()) {
            const auto* control = window.findChild<QWidget*>(row.name);
            const QString caption = QString::fromUtf8(row.caption);
            if (caption.isEmpty())
                continue;
            const int textWidth = control->fontMetrics().horizontalAdvance(caption);
            const int needed = row.kind == ControlKind::CheckBox ? control->sizeHint().width()
                               : row.kind == ControlKind::Button || row.kind == ControlKind::Stepper
                                   ? textWidth + 4 // the push button's frame
                                   : textWidth;
            QVERIFY2(needed <= control->width(), row.name);
            QVERIFY2(control->fontMetrics().height() <= control->height() + 2, row.name);
        }
    }

    void readersGetNamesAndDescriptions_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::newRow("field") << "TAsc"
                               << "Steigung"
                               << "";
        QTest::newRow("stepper down") << "CAscD"
                                      << "Steigung verringern"
                                      << "";
        QTest::newRow("stepper up") << "CAscU"
                                    << "Steigung erhöhen"
                                    << "";
        QTest::newRow("power stepper") << "TCQU"
                                       << "Kabelfläche erhöhen"
                                       << "";
        QTest::newRow("result") << "LUM"
                                << ""
                                << "Umdrehungen des Motors pro Minute";
    }
    void readersGetNamesAndDescriptions()
    {
        QFETCH(QString, control);
        QFETCH(QString, name);
        QFETCH(QString, description);
        MainWindow window(settingsDirectory.path());
        const auto* widget = window.findChild<QWidget*>(control);
        QCOMPARE(widget->accessibleName(), name);
        QCOMPARE(widget->accessibleDescription(), description);
    }

    void resultsAreRedAndFooterGrey()
    {
        MainWindow window(settingsDirectory.path());
        const auto colour = [&](const char* name) {
            return window.findChild<QWidget*>(name)->palette().color(QPalette::WindowText);
        };
        QCOMPARE(colour("LUM"), QColor(255, 0, 0));
        QCOMPARE(colour("LSpeed"), QColor(255, 0, 0));
        QCOMPARE(colour("LCopy"), QColor(128, 128, 128));
        QVERIFY(window.findChild<QWidget*>("CCalc")->font().bold());
        QVERIFY(window.findChild<QWidget*>("HeadingSpeed")->font().italic());
        QCOMPARE(window.findChild<QWidget*>("TUM")->font().pointSizeF(), 8.25);
        QCOMPARE(window.findChild<QWidget*>("LUM")->font().pointSizeF(), 9.75);
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
