#include "host/gui/window_ui.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QThread>
#include <QWidget>

#include "host/gui/window_dialogs.h"
#include "platform/message_box.h"

namespace gui {
namespace {

QString Text(const host::DisplayText& text) {
    return QString::fromStdString(text.utf8());
}

QMessageBox::Icon IconOf(unsigned style) {
    switch (style & platform::kIconMask) {
        case platform::kIconStop:
            return QMessageBox::Critical;
        case platform::kIconQuestion:
            return QMessageBox::Question;
        case platform::kIconWarning:
            return QMessageBox::Warning;
        case platform::kIconInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

struct ButtonAnswer {
    QMessageBox::StandardButton button;
    int answer;
};

// The buttons of a style, left to right, with the answer each gives.
std::vector<ButtonAnswer> ButtonsOf(unsigned style) {
    switch (style & platform::kButtonsMask) {
        case platform::kButtonsOkCancel:
            return {{QMessageBox::Ok, platform::kAnswerOk},
                    {QMessageBox::Cancel, platform::kAnswerCancel}};
        case platform::kButtonsYesNoCancel:
            return {{QMessageBox::Yes, platform::kAnswerYes},
                    {QMessageBox::No, platform::kAnswerNo},
                    {QMessageBox::Cancel, platform::kAnswerCancel}};
        case platform::kButtonsYesNo:
            return {{QMessageBox::Yes, platform::kAnswerYes},
                    {QMessageBox::No, platform::kAnswerNo}};
        default:
            return {{QMessageBox::Ok, platform::kAnswerOk}};
    }
}

}  // namespace

WindowUi::WindowUi(QWidget* window, QLabel* statusLine, QProgressBar* progressBar,
                   QLineEdit* tableField)
    : QObject(window),
      window_(window),
      statusLine_(statusLine),
      progressBar_(progressBar),
      tableField_(tableField) {}

template <typename Work>
void WindowUi::OnWindowThread(Work work) {
    if (QThread::currentThread() == thread()) {
        work();
    } else {
        QMetaObject::invokeMethod(this, work, Qt::BlockingQueuedConnection);
    }
}

template <typename Work>
void WindowUi::QueueOnWindowThread(Work work) {
    if (QThread::currentThread() == thread()) {
        work();
    } else {
        QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
    }
}

int WindowUi::showMessage(const host::Message& message) {
    int answer = platform::DefaultAnswer(message.style);
    OnWindowThread([&] {
        QMessageBox box(IconOf(message.style), Text(message.title), Text(message.text),
                        QMessageBox::NoButton, window_);
        box.setObjectName(QStringLiteral("messageBox"));
        const std::vector<ButtonAnswer> buttons = ButtonsOf(message.style);
        for (const ButtonAnswer& each : buttons) {
            box.addButton(each.button);
        }
        const unsigned defaultIndex = (message.style & platform::kDefaultButtonMask) >> 8;
        box.setDefaultButton(buttons[defaultIndex < buttons.size() ? defaultIndex : 0].button);
        box.exec();
        for (const ButtonAnswer& each : buttons) {
            if (box.clickedButton() == box.button(each.button)) {
                answer = each.answer;
            }
        }
    });
    return answer;
}

// Reports capture what they show by value: the caller does not wait for them.
void WindowUi::setStatusText(const host::DisplayText& text) {
    QueueOnWindowThread([this, shown = Text(text)] { statusLine_->setText(shown); });
}

void WindowUi::note(const host::DisplayText& text) {
    setStatusText(text);
}

void WindowUi::setProgressRange(int low, int high) {
    QueueOnWindowThread([this, low, high] { progressBar_->setRange(low, high); });
}

void WindowUi::setProgressPosition(int position) {
    QueueOnWindowThread([this, position] { progressBar_->setValue(position); });
}

void WindowUi::beginWaitCursor() {
    QueueOnWindowThread([this] {
        if (waitDepth_++ == 0) {
            window_->setCursor(Qt::WaitCursor);
        }
    });
}

void WindowUi::endWaitCursor() {
    QueueOnWindowThread([this] {
        if (waitDepth_ > 0 && --waitDepth_ == 0) {
            window_->unsetCursor();
        }
    });
}

void WindowUi::beep() {
    QueueOnWindowThread([] { QApplication::beep(); });
}

std::optional<std::string> WindowUi::selectTableFile(const std::string& /*functionTitle*/,
                                                     const std::string& currentPath) {
    std::optional<std::string> chosen;
    OnWindowThread([&] {
        chosen = SelectTableFile(window_, currentPath);
        // Shown at once, also when a run asks: the run goes on with this table.
        if (chosen) {
            tableField_->setText(QString::fromStdString(*chosen));
        }
    });
    return chosen;
}

std::optional<std::string> WindowUi::browseForFolder(const std::string& currentFolder) {
    std::optional<std::string> chosen;
    OnWindowThread([&] { chosen = BrowseForFolder(window_, currentFolder); });
    return chosen;
}

std::vector<std::string> WindowUi::chooseFilesToAdd() {
    std::vector<std::string> chosen;
    OnWindowThread([&] { chosen = ChooseFilesToAdd(window_); });
    return chosen;
}

std::optional<std::string> WindowUi::chooseSettingsListToLoad() {
    std::optional<std::string> chosen;
    OnWindowThread([&] { chosen = ChooseSettingsList(window_, false); });
    return chosen;
}

std::optional<std::string> WindowUi::chooseSettingsListToSave() {
    std::optional<std::string> chosen;
    OnWindowThread([&] { chosen = ChooseSettingsList(window_, true); });
    return chosen;
}

}  // namespace gui
