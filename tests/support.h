// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the suites share: files, the settings file's sample and shape, a
// calculation's writes as lines, and (in the window suites) the window's
// texts and its message boxes. What only Unix has is in support_unix.h.

#include "core/calculation.h"
#include "core/settings_file.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTest>
#include <functional>

// The file closing writes when every input holds its default, for a frame
// 1440 twips down and 2880 right, in a comma locale.
inline const QByteArray sampleFile = "WINDOWTOP=1440\r\nWINDOWLEFT=2880\r\nRPM=10000\r\nASC=15\r\n"
                                     "SLP=25\r\nSPE=\r\nINC=0\r\nSMS=0\r\nTUV=800\r\nTCC=20\r\n"
                                     "TVC=1,1\r\nTTR0=\r\nTTR1=10\r\nTTR2=200\r\nTTC0=\r\n"
                                     "TBL=600\r\nTML=150\r\nTBW=150\r\nTBS=1500\r\nTRC=4,5\r\n"
                                     "TCA=20\r\nTCQ=2,5\r\n";

// The file's bytes, or nothing when it cannot be read.
inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Empty when the bytes are a whole settings file as the program writes it:
// every key written always once, in order, the others at most once in their
// place, each line ended by CR LF; else what is wrong. Read through views,
// since the fuzzers call it on every input.
inline QString wholeFileProblem(const QByteArray& file)
{
    QByteArrayView rest(file);
    int lines = 0;
    for (const settings_file::Stored& key : settings_file::keyOrder()) {
        const QByteArrayView name(settings_file::keyName(key));
        const qsizetype end = rest.indexOf('\n');
        const QByteArrayView line = end < 0 ? rest : rest.first(end);
        const bool present = line.startsWith(name) && line.size() > name.size() &&
                             line[name.size()] == '=' && line.endsWith('\r') && end >= 0;
        if (!present && settings_file::writtenAlways(key))
            return end < 0 ? QStringLiteral("%1 lines").arg(lines)
                           : QStringLiteral("line %1: %2")
                                 .arg(lines + 1)
                                 .arg(QString::fromLatin1(line));
        if (present) {
            rest = rest.sliced(end + 1);
            ++lines;
        }
    }
    return rest.isEmpty() ? QString() : QStringLiteral("more than %1 lines").arg(lines);
}

// A calculation's writes as "LTH=1350" lines: one comparison checks the
// texts, their order and which controls were written at all.
inline QStringList asLines(const Writes& writes)
{
    QStringList lines;
    for (const Write& write : writes)
        lines << QString::fromLatin1(objectName(write.target)) + u'=' + write.text;
    return lines;
}

// "LTH=1350" lines of the labels with the texts worked out for them, "|"
// between the texts; with fewer texts the last labels are not written.
inline QStringList labelledLines(std::initializer_list<const char*> labels, const char* texts)
{
    QStringList lines;
    auto label = labels.begin();
    for (const QString& text : QString::fromUtf8(texts).split(u'|')) {
        if (label == labels.end())
            return {QStringLiteral("more texts than labels: %1").arg(QString::fromUtf8(texts))};
        lines << QString::fromLatin1(*label++) + u'=' + text;
    }
    return lines;
}

// Adds a text column for each name and a row for each entry: its data tag,
// then its texts (UTF-8), one per column.
inline void addTextRows(std::initializer_list<const char*> columns,
                        std::initializer_list<std::initializer_list<const char*>> rows)
{
    for (const char* column : columns)
        QTest::addColumn<QString>(column);
    for (const auto& row : rows) {
        QTestData& data = QTest::newRow(*row.begin());
        for (auto text = row.begin() + 1; text != row.end(); ++text)
            data << QString::fromUtf8(*text);
    }
}

#ifdef QT_WIDGETS_LIB
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

// The window's control of that name and type; a misspelt name stops the
// test with a message.
template <typename Widget = QWidget> Widget* findControl(const QWidget& window, const QString& name)
{
    auto* control = window.findChild<Widget*>(name);
    if (!control)
        qFatal("no %s named %s", Widget::staticMetaObject.className(), qPrintable(name));
    return control;
}

// The text of a field or a label.
inline QString textOf(const QWidget& window, const QString& name)
{
    const QObject* control = findControl(window, name);
    if (const auto* field = qobject_cast<const QLineEdit*>(control))
        return field->text();
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    qFatal("%s is no field or label", qPrintable(name));
}

// Runs `action`, which may show a modal message box, closes the box as a
// user would and hands back its caption and text ("" when none was shown).
inline QString messageDuring(const std::function<void()>& action)
{
    auto shown = std::make_shared<QString>();
    QTimer::singleShot(0, [shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            *shown = box->windowTitle() + u'|' + box->text();
            box->accept();
        }
    });
    action();
    QCoreApplication::processEvents();
    return *shown;
}
#endif
