#pragma once

// The words a learner reads for each LED command: the name on its card (the
// icon palette, the slots, the report pictures, the virtual lamp) and the
// captions around its value controls (the slot cards, the flowchart's command
// dialog). The flowchart's command boxes and menus keep their fixed captions
// (LedCommand::caption). Plain UTF-8 without Qt, so that the artwork
// generator draws the cards from the same table.
namespace kr31::words {

struct CommandWords
{
    int code;
    const char *card;     // the card's name; '\n' where the card breaks the line
    const char *value[2]; // the caption before each value ("" when none)
    const char *unit[2];  // the unit after each value ("" when none)
};

inline constexpr CommandWords Commands[] = {
    {16, "つける", {"", ""}, {"", ""}},
    {17, "けす", {"", ""}, {"", ""}},
    {18, "あかるさ", {"明るさ", ""}, {"%", ""}},
    {19, "だんだん\nつける", {"明るさ", "はやさ"}, {"%", ""}},
    {20, "だんだん\nけす", {"明るさ", "はやさ"}, {"%", ""}},
    {21, "タイマー", {"", ""}, {"", ""}},
    {22, "くりかえし", {"もどる", "回数"}, {"ばん", "回"}},
    {23, "タッチ\nまち", {"", ""}, {"", ""}},
    {24, "タッチで\nつける", {"", ""}, {"", ""}},
    {25, "タッチで\nけす", {"", ""}, {"", ""}},
    {26, "ピッ", {"", ""}, {"", ""}},
    {100, "おわり", {"", ""}, {"", ""}},
};

// The timer's seconds are entered as hours, minutes and seconds, under a prompt.
inline constexpr const char *TimePrompt = "じかんを いれてね";
inline constexpr const char *TimeUnits[3] = {"時", "分", "秒"};

// The words of the command with this code; nullptr for anything else.
constexpr const CommandWords *find(int code)
{
    for (const CommandWords &w : Commands) {
        if (w.code == code)
            return &w;
    }
    return nullptr;
}

} // namespace kr31::words
