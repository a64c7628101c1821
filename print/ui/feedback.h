// How txp tells the user something: the standard beep and message boxes captioned "TXP".
// Without a display (Qt's offscreen platform) a message goes to standard error instead of a
// box nobody could close. Tests replace both to see what the user would see.
#pragma once

#include <functional>
#include <memory>
#include <string>

class QDialog;
class QWidget;

namespace txp {

enum class MessageIcon { None, Information, Warning, Error };

void Beep();
// A modal message box with an OK button.
void ShowMessage(QWidget* parent, const std::string& text, const std::string& caption = "TXP",
                 MessageIcon icon = MessageIcon::None);

// A small dialog of one or more text lines and one button (dialogs 119, 122, 131), named by
// its resource id as objectName.
void ShowNoticeDialog(QWidget* parent, const char* id, const std::string& caption,
                      const std::string& text, const std::string& button);

// Dialog 121 ("プリンタ情報取得中です。"), shown while printers are asked about their
// papers, which can take a while; it closes when the returned object goes. Nothing is shown
// without a display.
std::unique_ptr<QDialog> ShowGatheringPrinterInfo(QWidget* parent);

// True when no one can see the windows (set at start-up on the offscreen platform).
bool Headless();
void SetHeadless(bool headless);

// Test hooks: when set, they replace the beep and the message box.
using BeepHook = std::function<void()>;
using MessageHook = std::function<void(const std::string& text, const std::string& caption)>;
void SetFeedbackHooks(BeepHook beep, MessageHook message);

}  // namespace txp
