// SPDX-License-Identifier: GPL-3.0-or-later
// Settings through real windows: what closing writes, what the next window
// restores, and that a failed save neither stops the close nor harms a file.

#include "gui/main_window.h"
#include "gui/window_placement.h"
#include "gui/window_settings.h"
#include "support.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

namespace {

QLineEdit* field(QWidget& window, const char* name)
{
    return findControl<QLineEdit>(window, name);
}

QCheckBox* box(QWidget& window, const char* name)
{
    return findControl<QCheckBox>(window, name);
}

} // namespace

class SettingsWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> directory;
    QString iniPath() const { return directory->filePath(QStringLiteral("JOLV.INI")); }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        directory = std::make_unique<QTemporaryDir>();
        QVERIFY(directory->isValid());
    }

    void freshWindowClosedAtOnceWritesTheDefaults()
    {
        {
            MainWindow window(directory->path());
            window.show();
            QVERIFY(window.close());
        }
        const QByteArray written = fileBytes(iniPath());
        QCOMPARE(wholeFileProblem(written), QString());
        // The sample apart from the position, which depends on the screen.
        QCOMPARE(written.split('\n').mid(2), sampleFile.split('\n').mid(2));
    }

    void everythingComesBackAfterARestart()
    {
        const QPoint frame(120, 75);
        {
            MainWindow window(directory->path());
            window.move(frame);
            window.show();
            field(window, "TUM")->setText(QStringLiteral("12345"));
            field(window, "TTR0")->setText(QStringLiteral("4=1"));
            field(window, "TCQ")->setText(QStringLiteral(" 100 "));
            field(window, "TBS")->setText(QString());
            field(window, "TTC0")->setText(QStringLiteral("Kabel *lang*"));
            box(window, "CInch")->setChecked(true); // converts 15 cm to 6 inches
            findControl<QRadioButton>(window, "OPC(0)")->setChecked(true);
            QTest::mouseClick(findControl<QWidget>(window, "CCalc3"), Qt::LeftButton);
            QVERIFY(window.close());
        }
        MainWindow window(directory->path());
        QCOMPARE(field(window, "TUM")->text(), QStringLiteral("12345"));
        QCOMPARE(field(window, "TAsc")->text(), QStringLiteral("6"));
        QCOMPARE(field(window, "TTR0")->text(), QStringLiteral("4=1"));
        QCOMPARE(field(window, "TCQ")->text(), QStringLiteral("100"));
        QCOMPARE(field(window, "TBS")->text(), QString());
        QCOMPARE(field(window, "TTC0")->text(), QStringLiteral("Kabel *lang*"));
        QCOMPARE(field(window, "TVC")->text(), QStringLiteral("1,1"));
        QVERIFY(box(window, "CInch")->isChecked());
        QVERIFY(!box(window, "CSpeed")->isChecked());
        QVERIFY(findControl<QRadioButton>(window, "OPC(2)")->isChecked());
        QCOMPARE(findControl<QLabel>(window, "LTH")->text(), QString());
        QCOMPARE(window.pos(), frame);
    }

    // A changed Flug field adds exactly its line after the 22 and comes
    // back; a file without the Flug keys (an older one) opens with their
    // defaults.
    void aChangedFlugFieldAddsItsLineAndComesBack()
    {
        {
            MainWindow window(directory->path());
            window.show();
            field(window, "TCAP")->setText(QStringLiteral("5000"));
            QVERIFY(window.close());
        }
        const QByteArray written = fileBytes(iniPath());
        QCOMPARE(written.split('\n').mid(2), (sampleFile + "TCAP=5000\r\n").split('\n').mid(2));
        MainWindow window(directory->path());
        QCOMPARE(field(window, "TCAP")->text(), QStringLiteral("5000"));
        QVERIFY(writeFile(iniPath(), sampleFile));
        MainWindow older(directory->path());
        for (const auto& [name, text] : {std::pair("TCAP", "3000"), std::pair("TUSE", "80"),
                                         std::pair("TLOAD", "85"), std::pair("THS", "800")})
            QCOMPARE(field(older, name)->text(), QString::fromLatin1(text));
    }

    void restoringTheBoxesConvertsNothing()
    {
        QVERIFY(writeFile(iniPath(), "INC=1\r\nASC=6\r\nSPE=68\r\nSMS=1\r\n"));
        MainWindow window(directory->path());
        QVERIFY(box(window, "CInch")->isChecked());
        QVERIFY(box(window, "CSpeed")->isChecked());
        QCOMPARE(field(window, "TAsc")->text(), QStringLiteral("6"));
        QCOMPARE(field(window, "TSpeed")->text(), QStringLiteral("68"));
        // After loading, the boxes convert again.
        box(window, "CInch")->setChecked(false);
        QCOMPARE(field(window, "TAsc")->text(), QStringLiteral("15"));
    }

    void aFileWithOneKeyChangesOnlyThatField()
    {
        QVERIFY(writeFile(iniPath(), "* hand-edited\r\nTBL=700\r\n"));
        MainWindow window(directory->path());
        MainWindow untouched(directory->path() + QStringLiteral("/missing"));
        QCOMPARE(field(window, "TBL")->text(), QStringLiteral("700"));
        QCOMPARE(window.pos(), untouched.pos());
        for (const char* name : {"TUM", "TAsc", "TVC", "TBW", "TCQ"})
            QCOMPARE(field(window, name)->text(), field(untouched, name)->text());
    }

    void storedPositionIsAppliedAsItStands_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("moved");
        QTest::addColumn<QPoint>("position");
        QTest::newRow("both keys")
            << QByteArray("WINDOWTOP=150\r\nWINDOWLEFT=300\r\n") << true << QPoint(20, 10);
        QTest::newRow("off every screen: placed as without a file")
            << QByteArray("WINDOWTOP=-150\nWINDOWLEFT=1,5E+05\n") << false << QPoint();
        QTest::newRow("left alone") << QByteArray("WINDOWLEFT=300\n") << false << QPoint();
        QTest::newRow("beyond any window system")
            << QByteArray("WINDOWTOP=1E30\nWINDOWLEFT=300\n") << false << QPoint();
    }
    void storedPositionIsAppliedAsItStands()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, moved);
        QFETCH(QPoint, position);
        QVERIFY(writeFile(iniPath(), file));
        MainWindow window(directory->path());
        MainWindow withoutFile(directory->filePath(QStringLiteral("missing")));
        QCOMPARE(window.pos(), moved ? position : withoutFile.pos());
    }

    // What closing writes for the position: the frame's place in twips (15 a
    // pixel here) where it is known and the window moved, else what the
    // file held, or no number where it held none.
    void positionWritten_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("placesWindows");
        QTest::addColumn<QPoint>("movedTo"); // px; (0, 0): not moved
        QTest::addColumn<QByteArray>("written");
        const QByteArray stored = "WINDOWTOP=150\r\nWINDOWLEFT=300\r\n";
        QTest::newRow("place never known, none stored")
            << QByteArray("RPM=1\r\n") << false << QPoint()
            << QByteArray("WINDOWTOP=\r\nWINDOWLEFT=\r\n");
        QTest::newRow("place never known, the stored one goes back")
            << stored << false << QPoint(40, 30) << stored;
        QTest::newRow("not moved from the stored place") << stored << true << QPoint() << stored;
        QTest::newRow("moved") << stored << true << QPoint(40, 30)
                               << QByteArray("WINDOWTOP=450\r\nWINDOWLEFT=600\r\n");
    }
    void positionWritten()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, placesWindows);
        QFETCH(QPoint, movedTo);
        QFETCH(QByteArray, written);
        QVERIFY(writeFile(iniPath(), file));
        QWidget window;
        window.resize(300, 200);
        WindowSettings settings(&window, directory->path(), {}, placesWindows);
        QVERIFY(settings.restore());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        if (!movedTo.isNull())
            window.move(movedTo);
        settings.save({});
        QVERIFY2(fileBytes(iniPath()).startsWith(written), fileBytes(iniPath()).constData());
    }

    void storedPositionNeedsAPlatformThatPlacesWindows_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<bool>("places");
        for (const char* name : {"xcb", "windows", "cocoa", "offscreen"})
            QTest::newRow(name) << QString::fromLatin1(name) << true;
        for (const char* name : {"wayland", "wayland-egl", "wayland-xcomposite-glx"})
            QTest::newRow(name) << QString::fromLatin1(name) << false;
    }
    void storedPositionNeedsAPlatformThatPlacesWindows()
    {
        QFETCH(QString, platform);
        QFETCH(bool, places);
        QCOMPARE(window_placement::placesWindows(platform), places);
    }

    // A 500 x 300 frame; its title area is its top 20 px.
    void storedPositionNeedsAUsablePartOnAScreen_data()
    {
        QTest::addColumn<QPoint>("frame");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<bool>("usable");
        const QRect small(0, 0, 1024, 768);
        const QList<QRect> one{small}, two{small, QRect(1024, 0, 1280, 1024)};
        QTest::newRow("wholly on the screen") << QPoint(100, 100) << one << true;
        QTest::newRow("2000,1500 on 1024x768") << QPoint(2000, 1500) << one << false;
        QTest::newRow("on the second screen") << QPoint(2000, 500) << two << true;
        // 224 of 500 px of the title area show.
        QTest::newRow("title area partly on the screen") << QPoint(800, 100) << one << true;
        // A 63 x 20 corner is an eighth of the title area, 1/119 of the frame.
        QTest::newRow("only a corner") << QPoint(961, 748) << one << false;
        // The title area above the top edge, 260 of 300 px rows show.
        QTest::newRow("title above, frame on the screen") << QPoint(100, -40) << one << true;
        // 24 of 500 px columns show.
        QTest::newRow("a narrow strip at the edge") << QPoint(1000, 100) << one << false;
        QTest::newRow("no screen") << QPoint(100, 100) << QList<QRect>() << false;
    }
    void storedPositionNeedsAUsablePartOnAScreen()
    {
        QFETCH(QPoint, frame);
        QFETCH(QList<QRect>, screens);
        QFETCH(bool, usable);
        QCOMPARE(window_placement::showsUsablePart(QRect(frame, QSize(500, 300)), screens), usable);
    }

    // The window's 646 x 383 px client area, 15 px scroll bars, a 20 px
    // title bar: at twice the scale on 1024 x 768 only 512 x 384 px are there.
    void aWindowTooLargeForItsScreenScrolls_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QSize>("window"); // invalid: it does not scroll
        QTest::newRow("1024 x 768") << QSize(1024, 768) << QSize();
        QTest::newRow("the title bar just fits") << QSize(646, 403) << QSize();
        QTest::newRow("2x on 1024 x 768") << QSize(512, 384) << QSize(512, 364);
        QTest::newRow("2x on 1366 x 768, too low only") << QSize(683, 384) << QSize(661, 364);
        QTest::newRow("too narrow only") << QSize(600, 768) << QSize(600, 398);
    }
    void aWindowTooLargeForItsScreenScrolls()
    {
        QFETCH(QSize, screen);
        QFETCH(QSize, window);
        QCOMPARE(window_placement::scrollingSize(QSize(646, 383), screen, 15).value_or(QSize()),
                 window);
    }

    void closingStillWorksWhenTheSaveFails_data()
    {
        QTest::addColumn<QString>("blocker");
        QTest::newRow("JOLV.INI is a directory") << "JOLV.INI";
        QTest::newRow("no settings directory") << "";
    }
    void closingStillWorksWhenTheSaveFails()
    {
        QFETCH(QString, blocker);
        const QString settingsDirectory =
            blocker.isEmpty() ? directory->filePath(QStringLiteral("gone")) : directory->path();
        if (!blocker.isEmpty())
            QVERIFY(QDir(directory->path()).mkdir(blocker));
        MainWindow window(settingsDirectory);
        window.show();
        QVERIFY(window.close());
        QVERIFY(!window.isVisible());
        QCOMPARE(QFileInfo(iniPath()).isDir(), !blocker.isEmpty());
    }

    // A file too large to read (far beyond what a save writes) or one in
    // which no line names a key is no file of this window's: closing leaves
    // it, rather than the defaults.
    void aFileNotReadIsKeptAtClosing_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("4 MiB") << "RPM=5\r\n*" + QByteArray(4 * 1024 * 1024, 'x') + "\r\n";
        QTest::newRow("no line names a key") << QByteArray("[Window]\r\nRPM: 5\r\n");
    }
    void aFileNotReadIsKeptAtClosing()
    {
        QFETCH(QByteArray, file);
        QVERIFY(writeFile(iniPath(), file));
        MainWindow window(directory->path());
        window.show();
        QVERIFY(window.close());
        QVERIFY(fileBytes(iniPath()) == file);
    }

    // Where no settings folder is known the window runs and closes without
    // reading or writing anything, not even in the folder it started in.
    void noSettingsFolderRunsWithoutSaving()
    {
        const QString startFolder = QDir::currentPath();
        const auto back = qScopeGuard([&] { QDir::setCurrent(startFolder); });
        QVERIFY(QDir::setCurrent(directory->path()));
        MainWindow window{QString()};
        window.show();
        QVERIFY(window.close());
        QCOMPARE(QDir(directory->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void theFileIsWrittenOnceAtClosing()
    {
        MainWindow window(directory->path());
        window.show();
        QVERIFY(window.close());
        QVERIFY(writeFile(iniPath(), "RPM=1\r\n"));
        // Closing again (or quitting after a close) must not overwrite it.
        window.show();
        QVERIFY(window.close());
        QCOMPARE(fileBytes(iniPath()), QByteArray("RPM=1\r\n"));
    }
};

QTEST_MAIN(SettingsWindowTest)
#include "test_settings_window.moc"
