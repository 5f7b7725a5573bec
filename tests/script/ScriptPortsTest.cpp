#include <gtest/gtest.h>

#include "script/ScriptPorts.h"

namespace {

using script::ScriptMessages;
using ui::Answer;
using ui::Buttons;

ui::Message box(Buttons buttons, Answer defaultButton, const std::string& text = "t") {
    return {"Attenzione", text, buttons, ui::Icon::None, defaultButton};
}

TEST(ScriptMessages, EndlessBoxesWithinOneCommandStop) {
    ScriptMessages m;
    for (int i = 0; i < ScriptMessages::kMaxPerCommand; ++i)
        m.show(box(Buttons::OKCancel, Answer::OK));
    EXPECT_THROW(m.show(box(Buttons::OKCancel, Answer::OK)), script::EndlessMessages);
    m.startCommand();
    EXPECT_EQ(m.show(box(Buttons::OKCancel, Answer::OK)), Answer::OK);
}

}  // namespace
