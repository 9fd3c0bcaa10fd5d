// Script files (ParseScript) on any bytes. Beyond not crashing, a file that
// was accepted must survive the editor's save: FormatScript of the script
// it gave must parse, and give the same script (title, actions in order,
// every field, frequencies to the kHz), and formatting that again must
// give the very same text, or a load and a save would change the program
// the user wrote.

#include "radio/frequency.h"
#include "script/script.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace tunevox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    script::tScript first;
    if (script::ParseScript(std::string_view(reinterpret_cast<const char*>(data), size), first) != script::srOk)
        return 0;
    if (first.actions.empty()) __builtin_trap();
    for (size_t i = 1; i < first.actions.size(); ++i)
        if (first.actions[i - 1]->time > first.actions[i]->time) __builtin_trap();

    const std::string text = script::FormatScript(first.title, first.actions);
    script::tScript again;
    if (script::ParseScript(text, again) != script::srOk) __builtin_trap();
    if (!script::SameScript(first.title, first.actions, again.title, again.actions)) __builtin_trap();
    for (size_t i = 0; i < first.actions.size(); ++i) {
        if (first.actions[i]->kind != script::akJumpTo) continue;
        const auto& a = static_cast<const script::zJumpTo&>(*first.actions[i]);
        const auto& b = static_cast<const script::zJumpTo&>(*again.actions[i]);
        if (radio::FrequencyText(a.frequency) != radio::FrequencyText(b.frequency)) __builtin_trap();
    }
    if (script::FormatScript(again.title, again.actions) != text) __builtin_trap();
    return 0;
}
