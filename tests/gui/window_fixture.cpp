#include "window_fixture.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace window_testing {

WindowFixture::WindowFixture(std::initializer_list<const char*> testPlugins,
                             std::initializer_list<const char*> realPlugins) {
    for (const char* name : testPlugins) {
        program.AddTestPlugin(name);
    }
    for (const char* name : realPlugins) {
        program.AddRealPlugin(name);
    }
}

WindowFixture::~WindowFixture() {
    if (window_ != nullptr) {
        (void)QTest::qWaitFor([&] { return !window_->running(); }, 10000);
    }
}

gui::MainWindow& WindowFixture::Open(const std::vector<std::string>& arguments) {
    window_ = std::make_unique<gui::MainWindow>(program.path(), iniPath());
    window_->Start(arguments);
    window_->show();
    return *window_;
}

QStringList WindowFixture::items(const char* listId) const {
    QStringList texts;
    const auto* list = control<QListWidget>(listId);
    for (int row = 0; row < list->count(); ++row) {
        texts << list->item(row)->text();
    }
    return texts;
}

QStringList WindowFixture::checkedItems() const {
    QStringList texts;
    const auto* list = control<QListWidget>("1000");
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->checkState() == Qt::Checked) {
            texts << list->item(row)->text();
        }
    }
    return texts;
}

QString TextOf(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        return group->title();
    }
    if (auto* field = qobject_cast<QLineEdit*>(widget)) {
        return field->text();
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    return {};
}

void DoubleClick(QListWidget* list, int row) {
    QWidget* viewport = list->viewport();
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
}

}  // namespace window_testing
