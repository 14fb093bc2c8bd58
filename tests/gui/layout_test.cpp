// The windows built from the layout model: the main window and every tool dialog show each
// control of their dialog at its rectangle mapped through dialog units of the dialog's font,
// with its text and as its flags say, and the menu bar holds the model's menus.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "host/core/settings/ini_regex_history.h"
#include "host/gui/about_box.h"
#include "host/gui/file_info_dialog.h"
#include "host/gui/lowercase_dialog.h"
#include "host/gui/preview_dialog.h"
#include "host/gui/regex_dialog.h"
#include "host/gui/scan_dialog.h"
#include "host/layout/about_dialog.h"
#include "host/layout/main_dialog.h"
#include "host/layout/main_menu.h"
#include "host/layout/tool_dialogs.h"
#include "window_fixture.h"
#include "window_tests.h"

namespace window_testing {
namespace {

using layout::Control;
using layout::ControlKind;

bool Has(const Control& control, layout::Style style) {
    return (control.styles & style) != 0;
}

QString NameOf(const Control& control) {
    return control.id == layout::kNoId ? QString::fromLatin1(control.name)
                                       : QString::number(control.id);
}

// Dialog units of a font in pixels: a quarter of the average width of the Latin letters
// across, an eighth of the line height down.
struct Units {
    explicit Units(const QFont& font) {
        const QFontMetrics metrics(font);
        across = metrics.horizontalAdvance(
                     QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                 52.0 / 4;
        down = metrics.height() / 8.0;
    }
    bool Near(int pixels, int units, double unit) const {
        return qAbs(pixels - units * unit) <= 1.0;
    }
    double across, down;
};

// The flags that show in a widget.
void CheckFlags(QWidget* widget, const Control& control) {
    const QByteArray where = NameOf(control).toLatin1();
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QVERIFY2(button->isDefault() == Has(control, layout::kDefaultButton), where);
    }
    if (auto* field = qobject_cast<QLineEdit*>(widget)) {
        QVERIFY2(field->isReadOnly() == Has(control, layout::kReadOnly), where);
    }
    if (auto* field = qobject_cast<QPlainTextEdit*>(widget)) {
        QVERIFY2(field->isReadOnly() == Has(control, layout::kReadOnly), where);
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        QVERIFY2(label->wordWrap() == Has(control, layout::kWordWrap), where);
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        QVERIFY2(combo->isEditable() == Has(control, layout::kEditable), where);
    }
    if (auto* list = qobject_cast<QListWidget*>(widget)) {
        QVERIFY2((list->selectionMode() == QAbstractItemView::ExtendedSelection) ==
                     Has(control, layout::kExtendedSelection),
                 where);
        const bool always = Has(control, layout::kScrollBarsAlways);
        QVERIFY2((list->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn) ==
                     (always && Has(control, layout::kVerticalScroll)),
                 where);
        QVERIFY2((list->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn) ==
                     (always && Has(control, layout::kHorizontalScroll)),
                 where);
    }
}

// Every control of `dialog` in `client`, with its text, flags and rectangle.
void CheckControls(const QWidget& client, const layout::Dialog& dialog) {
    const Units units(client.font());
    QVERIFY(units.Near(client.width(), dialog.width, units.across));
    QVERIFY(units.Near(client.height(), dialog.height, units.down));
    QCOMPARE(client.minimumSize(), client.maximumSize());
    for (const Control& control : dialog.controls) {
        const QString name = NameOf(control);
        const QByteArray where = QString(QString::fromUtf8(dialog.title) + " / " + name).toUtf8();
        auto* widget = client.findChild<QWidget*>(name);
        QVERIFY2(widget != nullptr, where);
        // Texts given when the dialog opens (the build stamp) replace the model's empty one.
        if (*control.text != '\0') {
            QCOMPARE(TextOf(widget), QString::fromUtf8(control.text));
        }
        CheckFlags(widget, control);
        const QRect got = widget->geometry();
        const layout::Rect& want = control.rect;
        QVERIFY2(units.Near(got.left(), want.left, units.across), where);
        QVERIFY2(units.Near(got.top(), want.top, units.down), where);
        const bool oneLineText = control.kind == ControlKind::kText &&
                                 !Has(control, layout::kWordWrap) &&
                                 !QString::fromUtf8(control.text).contains('\n');
        const bool choice = control.kind == ControlKind::kCheckBox ||
                            control.kind == ControlKind::kRadioButton;
        if (oneLineText || choice) {  // widened where this font draws the text wider
            QVERIFY2(got.width() >= want.width * units.across - 1.0, where);
            QVERIFY2(got.width() >= widget->sizeHint().width(), where);
        } else {
            QVERIFY2(units.Near(got.width(), want.width, units.across), where);
        }
        // A combo box's rectangle includes its drop-down list; the field is as high as Qt
        // draws it.
        if (control.kind != ControlKind::kComboBox) {
            QVERIFY2(units.Near(got.height(), want.height, units.down), where);
        }
    }
}

void CheckDialog(const QDialog& window, const layout::Dialog& dialog) {
    QCOMPARE(window.windowTitle(), QString::fromUtf8(dialog.title));
    QVERIFY(window.isModal());
    CheckControls(window, dialog);
}

}  // namespace

void LayoutTest::init() {
    fixture_ = std::make_unique<WindowFixture>(std::initializer_list<const char*>{},
                                               std::initializer_list<const char*>{"rulebook"});
}

void LayoutTest::cleanup() {
    fixture_.reset();
}

void LayoutTest::titleFontAndFixedSize() {
    gui::MainWindow& window = fixture_->Open();
    QCOMPARE(window.windowTitle(), QStringLiteral("Polyshift"));
    const QFont font = window.centralWidget()->font();
    QCOMPARE(font.family(), QStringLiteral("ＭＳ Ｐゴシック"));
    QCOMPARE(font.pointSize(), 9);
    // The family is not on this system: it is drawn with its first substitute.
    QCOMPARE(QFontInfo(font).family(), QStringLiteral("IPAPGothic"));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!window.windowIcon().isNull());
}

void LayoutTest::mainWindowIsBuiltFromTheModel() {
    gui::MainWindow& window = fixture_->Open();
    CheckControls(*window.centralWidget(), layout::kMainDialog);
}

void LayoutTest::toolDialogsAreBuiltFromTheModel() {
    gui::MainWindow& window = fixture_->Open();
    gui::ScanDialog scan({}, window.ui(), &window);
    CheckDialog(scan, layout::kScanDialog);
    gui::LowercaseDialog lower(&window);
    CheckDialog(lower, layout::kLowercaseDialog);
    host::IniRegexHistoryStore store(fixture_->iniPath());
    host::RegexCommandEntry entry(store);
    gui::RegexDialog regex(entry, window.ui(), &window);
    CheckDialog(regex, layout::kRegexDialog);
    gui::AboutBox about("", &window);
    CheckDialog(about, layout::kAboutDialog);
    gui::PreviewDialog preview({}, {}, {}, 0, &window);
    CheckDialog(preview, layout::kPreviewDialog);
    gui::FileInfoDialog info({}, &window);
    CheckDialog(info, layout::kFileInfoDialog);
}

void LayoutTest::menuBarHoldsTheModelsMenus() {
    gui::MainWindow& window = fixture_->Open();
    const QList<QAction*> menus = window.menuBar()->actions();
    QCOMPARE(menus.size(), static_cast<qsizetype>(layout::kMainMenu.menus.size()));
    for (qsizetype m = 0; m < menus.size(); ++m) {
        const layout::Menu& menu = layout::kMainMenu.menus[static_cast<std::size_t>(m)];
        QCOMPARE(menus[m]->text(), QString::fromUtf8(menu.title));
        const QList<QAction*> items = menus[m]->menu()->actions();
        QCOMPARE(items.size(), static_cast<qsizetype>(menu.items.size()));
        for (qsizetype i = 0; i < items.size(); ++i) {
            const layout::MenuItem& item = menu.items[static_cast<std::size_t>(i)];
            QCOMPARE(items[i]->isSeparator(), item.separator());
            if (!item.separator()) {
                QCOMPARE(items[i]->text(), QString::fromUtf8(item.text));
                QCOMPARE(items[i]->data().toInt(), item.commandId);
                QCOMPARE(window.commandAction(item.commandId), items[i]);
            }
        }
    }
}

void LayoutTest::regexToolFollowsTheRulebookLibrary() {
    // Without the rulebook library the start reports it and leaves the item off.
    QFile::remove(QString::fromStdString(fixture_->program.pluginFolder() + "/rulebook.so"));
    gui::MainWindow& window = fixture_->Open();
    QAction* regexTool = window.commandAction(layout::command::kRegexConversion);
    QCOMPARE(fixture_->driver.seen.size(), 1);
    QVERIFY(fixture_->driver.seen.constFirst().startsWith(QStringLiteral("box 3 エラー: ")));
    QVERIFY(!regexTool->isEnabled());
    // Back in its place, a reload loads it and turns the item on.
    fixture_->program.AddRealPlugin("rulebook");
    window.runCommand(layout::command::kReloadPlugins);
    QVERIFY(regexTool->isEnabled());
    QCOMPARE(fixture_->driver.seen.size(), 1);
}

void LayoutTest::toolCommandsWaitForTheirHandlers() {
    gui::MainWindow& window = fixture_->Open();
    QAction* scan = window.commandAction(layout::command::kCharacterScan);
    QVERIFY(!scan->isEnabled());
    int calls = 0;
    window.setCommandHandler(layout::command::kCharacterScan, [&] { ++calls; });
    QVERIFY(scan->isEnabled());
    scan->trigger();
    QCOMPARE(calls, 1);
}

}  // namespace window_testing
