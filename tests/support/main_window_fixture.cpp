// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/main_window_fixture.h"
#include "app/program_window.h"
#include "model/fse_file.h"
#include "model/record_layout.h"
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

namespace k3n::test {

MainWindowFixture::MainWindowFixture()
{
    qputenv("XDG_DATA_HOME", dir.file("data").toLocal8Bit());
    // Closing the window under test must not end the application.
    QApplication::setQuitOnLastWindowClosed(false);
    settings.Language = 0;
}

void MainWindowFixture::openWindow()
{
    makeWindow();
    showWindow();
}

void MainWindowFixture::makeWindow()
{
    window = std::make_unique<TMainForm>(data, settings);
    window->setFileNameChooser([this](bool save) {
        fileQuestions.push_back(save);
        return chosenFile;
    });
    window->setOtherFileChooser([this](bool, const QString&) { return chosenFile; });
    window->setClock([this] { return clockMs; });
}

void MainWindowFixture::showWindow()
{
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

QAction* MainWindowFixture::item(const char* name) const
{
    QAction* found = window->findChild<QAction*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QMenu* MainWindowFixture::menu(const char* name) const
{
    return window->findChild<QMenu*>(name);
}

QTreeWidget* MainWindowFixture::tree() const
{
    return window->findChild<QTreeWidget*>("TreeView1");
}

QMdiArea* MainWindowFixture::mdi() const
{
    return window->findChild<QMdiArea*>("MdiArea");
}

EditorWindow* MainWindowFixture::openPage(int page)
{
    showWindow();
    const QRect node = tree()->visualItemRect(tree()->topLevelItem(0)->child(page));
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, node.center());
    QApplication::processEvents();
    EditorWindow* editor = window->editorOfPage(page);
    EXPECT_NE(editor, nullptr) << "page " << page;
    return editor;
}

void MainWindowFixture::pressKey(int key, Qt::KeyboardModifiers modifiers)
{
    showWindow();
    QTest::keyClick(window.get(), Qt::Key(key), modifiers);
    QApplication::processEvents();
}

QString MainWindowFixture::saveFile(const QString& name, const RadioData& configuration) const
{
    const QString path = dir.file(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_FALSE(SaveFseFile(path, configuration.record).has_value()) << name.toStdString();
    return path;
}

QString MainWindowFixture::fileOfBand(const QString& name, int band) const
{
    return saveFile(name, ConfigurationWithChannel(band, 3, BandLimitsOf(band).lower));
}

RadioRecord FreshRecordOfBand(int band)
{
    RadioData fresh;
    fresh.ResetForBand(band);
    return fresh.record;
}

RadioData ConfigurationWithChannel(int band, int channel, uint32_t rxHz)
{
    RadioData configuration;
    configuration.ResetForBand(band);
    configuration.record.set(rec::ch::in_use(channel), 1);
    configuration.record.set(rec::ch::rx_freq(channel), rxHz);
    return configuration;
}

void StartWhenReady(TProgramDialog& program)
{
    if (program.ProgramStart->isEnabled())
        QTest::mouseClick(program.ProgramStart, Qt::LeftButton);
}

}   // namespace k3n::test
