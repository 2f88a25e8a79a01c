// The kinds of message box and their answers, as the procedures and the windows share them.
#pragma once

namespace tarnwick {

enum class BoxKind {
    Info,      // OK button, information icon
    Error,     // OK button, error (stop) icon
    Question,  // Yes and No buttons, exclamation icon
    Plain,     // OK button, no icon (start-up failures)
};

// Answers of a message box, with the platform's values.
enum : int { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };

}  // namespace tarnwick
