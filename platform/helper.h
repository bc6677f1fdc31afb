// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

// A helper process that answers questions for the program. A thread that asks a network
// share which has stopped answering can be held in the system until the share answers, and
// on Linux a process with such a thread cannot end: questions that may hang run in the
// helper, which is left behind when the program ends, and the program ends at once.
namespace filmarin::platform {

class Helper {
public:
    virtual ~Helper() = default;
    // Sends `question` and waits for its answer; empty once the helper has gone. Many
    // threads may ask at once; each question is answered on a thread of its own.
    virtual std::optional<std::string> ask(const std::string& question) = 0;
};

// Starts a helper that answers each question with `answer`, run on a thread of its own in
// the helper. Must be called before the program starts any thread. Null where the system
// needs no helper (Windows ends a process whatever its threads wait for) or none can be
// started: then the program asks itself.
std::shared_ptr<Helper> startHelper(std::function<std::string(const std::string&)> answer);

} // namespace filmarin::platform
