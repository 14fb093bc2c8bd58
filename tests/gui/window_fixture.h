// A main window over a program folder of its own, with the plug-ins a test asks for, and a
// folder for input and output files.
#pragma once

#include <QListWidget>
#include <QWidget>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "host/gui/main_window.h"
#include "host_fixture.h"
#include "modal_driver.h"
#include "support/temp_folder.h"

namespace window_testing {

class WindowFixture {
public:
    // Test plug-ins by name (tests/core) and real ones ("rulebook", "eolfix", ...).
    WindowFixture(std::initializer_list<const char*> testPlugins,
                  std::initializer_list<const char*> realPlugins);
    ~WindowFixture();

    // Creates the window, starts it with `arguments` and shows it.
    gui::MainWindow& Open(const std::vector<std::string>& arguments = {});
    gui::MainWindow& window() { return *window_; }

    template <typename Control>
    Control* control(const char* id) const {
        return window_->findChild<Control*>(QString::fromLatin1(id));
    }
    QStringList items(const char* listId) const;
    QStringList checkedItems() const;
    std::string iniPath() const { return program.path() + "/polyshift.ini"; }

    host_testing::ProgramFolder program;
    testing_support::TempFolder work;
    ModalDriver driver;

private:
    std::unique_ptr<gui::MainWindow> window_;
};

// The text a control shows: a button's or label's text, a group box's title, a field's text.
QString TextOf(QWidget* widget);

// A double-click on row `row` of `list`, as a user makes it (a click first).
void DoubleClick(QListWidget* list, int row);

}  // namespace window_testing
