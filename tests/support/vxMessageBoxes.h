// Records the texts of the message boxes shown while it lives (from any thread), instead of
// showing them.
#pragma once

#include <vxplan/platform/app/vxApplication.h>

#include <mutex>
#include <string>
#include <vector>

namespace vxplan::test {

struct TBoxes {
    std::mutex mutex;
    std::vector<std::string> texts;
    TBoxes()
    {
        SetMessageBoxHook([this](const std::string& text, const std::string&, unsigned) {
            std::lock_guard lock(mutex);
            texts.push_back(text);
            return IDOK;
        });
    }
    ~TBoxes() { SetMessageBoxHook(nullptr); }
    std::vector<std::string> Texts()
    {
        std::lock_guard lock(mutex);
        return texts;
    }
};

}  // namespace vxplan::test
