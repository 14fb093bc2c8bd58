// Modal message boxes. Plug-ins and the host call ShowMessageBox; the host installs a handler
// that routes the box to its user interface. Without a handler (a test that loads a plug-in
// on its own, a tool without a face, a host of another make) the message goes to stderr and
// the default button is the answer: nothing ever waits for input here.
//
// The handlers live in the program's runtime library (message_box_handlers.cpp). A plug-in's
// own copy of this code passes its boxes on to that library when the process has loaded it
// (message_box_relay.cpp); only the program installs handlers.
#pragma once

namespace platform {

// Styles, with the values of the original system's message boxes.
enum MessageStyle : unsigned {
    kButtonsOk = 0x00,
    kButtonsOkCancel = 0x01,
    kButtonsYesNoCancel = 0x03,
    kButtonsYesNo = 0x04,
    kButtonsMask = 0x0F,
    kIconStop = 0x10,
    kIconQuestion = 0x20,
    kIconWarning = 0x30,
    kIconInformation = 0x40,
    kIconMask = 0xF0,
    kDefaultButton2 = 0x100,
    kDefaultButton3 = 0x200,
    kDefaultButtonMask = 0xF00,
};

// Answers, with the original system's values.
enum MessageAnswer : int {
    kAnswerOk = 1,
    kAnswerCancel = 2,
    kAnswerYes = 6,
    kAnswerNo = 7,
};

// text and title are zero-terminated Shift JIS (code page 932) texts.
using MessageBoxHandler = int (*)(void* context, const char* text, const char* title,
                                  unsigned style);

// Installs the handler (null removes it) and returns the previous one's context through
// `previousContext` when that is not null.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler, void* context,
                                       void** previousContext = nullptr);

// The same for the calling thread alone: its handler goes before the one for every thread.
MessageBoxHandler SetThreadMessageBoxHandler(MessageBoxHandler handler, void* context,
                                             void** previousContext = nullptr);

int ShowMessageBox(const char* text, const char* title, unsigned style);

// The answer of the default button of a box with this style.
int DefaultAnswer(unsigned style);

// The box without a handler: its title and text as UTF-8 on stderr; the default answer.
int ShowOnStandardError(const char* text, const char* title, unsigned style);

}  // namespace platform
