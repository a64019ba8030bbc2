// The message one nuv program sends another through a document's socket.
#pragma once

#include <cstddef>
#include <string_view>

namespace nuv {

enum class TInstanceRequest { None, Activate };

// A receiver reads at most this many bytes of a message; whatever a
// connection sends beyond them is never buffered.
constexpr std::size_t kMaxInstanceMessageBytes = 64;

// The line a sender writes to ask the document's window to come to the front.
constexpr std::string_view kActivateMessage = "activate\n";

// What the bytes a connection sent ask for: Activate when they begin with
// "activate", None for anything else.
TInstanceRequest ParseInstanceMessage(std::string_view bytes);

}  // namespace nuv
