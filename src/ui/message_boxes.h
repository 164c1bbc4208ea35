#pragma once
// Message boxes: every message to the user goes through this interface, so
// operations never call the platform directly and tests can answer by script.

#include <string>
#include <string_view>

namespace wmb {

enum class MsgButtons { ok, yes_no };
enum class MsgIcon { none, warning, information, error };
enum class MsgAnswer { ok, yes, no, closed };

inline constexpr std::u8string_view kDefaultTitle = u8"信息：";

struct MessageRequest {
    std::u8string text;
    std::u8string title{kDefaultTitle};
    MsgButtons buttons = MsgButtons::ok;
    MsgIcon icon = MsgIcon::none;

    friend bool operator==(const MessageRequest&, const MessageRequest&) = default;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Modal to the whole program, no owner window.
    virtual MsgAnswer show(const MessageRequest& request) = 0;
};

// An OK box.
inline void tell(MessageBoxes& boxes, std::u8string_view text, MsgIcon icon = MsgIcon::none,
                 std::u8string_view title = kDefaultTitle) {
    boxes.show({std::u8string(text), std::u8string(title), MsgButtons::ok, icon});
}

// A Yes/No question; only Yes counts as consent.
inline bool ask_yes(MessageBoxes& boxes, std::u8string_view text, std::u8string_view title,
                    MsgIcon icon = MsgIcon::none) {
    return boxes.show({std::u8string(text), std::u8string(title), MsgButtons::yes_no, icon}) ==
           MsgAnswer::yes;
}

}  // namespace wmb
