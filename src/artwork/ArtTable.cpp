// The table of every picture: names, sizes and what each shows.
// Names and sizes that the windows depend on come from their layouts; backgrounds,
// title strips and panels that the windows only name by role live in "Img/Back/",
// "Img/Title/" and similar folders chosen here.
#include "Artwork.h"

#include "program/CommandWords.h"

namespace kr31::art {
namespace {

// Friendly colours shared by the pictures.
const QColor kOrange(0xFF, 0x98, 0x2E);
const QColor kBlue(0x3D, 0xA5, 0xF0);
const QColor kGreen(0x4C, 0xBB, 0x5A);
const QColor kPink(0xF0, 0x5A, 0x8C);
const QColor kPurple(0x9C, 0x5C, 0xD4);
const QColor kRed(0xEE, 0x4B, 0x3F);
const QColor kTeal(0x1F, 0xB5, 0xA8);
const QColor kYellow(0xF5, 0xB8, 0x00);
const QColor kGrey(0x8A, 0x94, 0xA6);

// One LED command: its file names in every place it appears.
struct CommandArt {
    Cmd cmd;
    const char* name;        // "ON": slot, palette and drag picture name
    const char* reportName;  // picture of the report page
    int code;                // its words on the card come from the command words table
    const char* description;  // under the drawing of a slot without arguments
    QColor colour;
};

const CommandArt kCommands[] = {
    {Cmd::On, "ON", "D_on", 16, "ライトを\nつける", QColor(0xFF, 0xB3, 0x00)},
    {Cmd::Off, "OFF", "D_off", 17, "ライトを\nけす", QColor(0x5C, 0x6B, 0xC0)},
    {Cmd::Light, "Light", "D_light", 18, "", QColor(0xFF, 0x80, 0x1E)},
    {Cmd::FadeIn, "F_In", "fadein", 19, "", QColor(0x4C, 0xB8, 0x50)},
    {Cmd::FadeOut, "F_Out", "fadeout", 20, "", QColor(0x1F, 0xA8, 0x9A)},
    {Cmd::Time, "Time", "timer", 21, "", QColor(0x29, 0xA0, 0xE6)},
    {Cmd::Repeat, "Repeat", "D_repeat", 22, "", QColor(0xA1, 0x4C, 0xC4)},
    {Cmd::Touch, "Touch", "D_touch", 23, "さわるまで\nまつ", QColor(0xEC, 0x40, 0x7A)},
    {Cmd::TouchFadeIn, "T_F_In", "t_in", 24, "さわると\nだんだんつく", QColor(0x8B, 0xC3, 0x4A)},
    {Cmd::TouchFadeOut, "T_F_Out", "t_out", 25, "さわると\nだんだんきえる", QColor(0x8D, 0x6E, 0x63)},
    {Cmd::Beep, "Beep", "D_beep", 26, "おとを\nならす", QColor(0xFF, 0x6E, 0x40)},
    {Cmd::Stop, "Stop", "D_stop", 100, "プログラム\nおしまい", QColor(0xE5, 0x39, 0x35)},
};

// A picture button: folder + name, size, and where it sits (when the window's layout says).
struct ButtonArt {
    const char* folder;
    const char* name;
    int w, h;
    const char* label;
    Glyph glyph;
    QColor colour;
    const char* bgRef = nullptr;
    int x = 0, y = 0;
    bool flat = false; // a picture that only names the window: no button face
};

// Background layouts (Entry::style of Kind::Background).
enum BgStyle { MainMenu = 1, IconEditor, FlowEditor, TextEditor, MelodyEditor, RealTime, BeepSound,
               Report, ModePage, SetUpWindow, ChartView, LampWindow };

const char* const kEditorBack = "Img/Back/DD";

const ButtonArt kButtons[] = {
    // Main menu
    {"Img/Menu/", "SetUp", 100, 30, "せってい", Glyph::Gear, kGrey, "Img/Menu/Back", 472, 349},
    {"Img/Menu/", "Bye", 43, 42, "", Glyph::Close, kRed, "Img/Menu/Back", 544, 10},
    // Editors and tools: top row (y 13), file row (y 75)
    {"Img/Common_Button/", "Pro", 90, 60, "LED", Glyph::Bulb, kYellow, kEditorBack, 235, 13, true},
    {"Img/Common_Button/", "Send", 90, 60, "おくる", Glyph::Send, kOrange, kEditorBack, 351, 13},
    {"Img/Common_Button/", "Tenso", 90, 60, "おくる", Glyph::Send, kOrange, kEditorBack, 351, 13},
    {"Img/Common_Button/", "Action", 90, 60, "うごかす", Glyph::Play, kGreen, kEditorBack, 467, 13},
    {"Img/Common_Button/", "Menu", 55, 60, "メニュー", Glyph::Home, kTeal, kEditorBack, 570, 13},
    {"Img/Common_Button/", "Help", 55, 60, "ヘルプ", Glyph::Help, kPurple, kEditorBack, 625, 13},
    {"Img/Common_Button/", "Bye", 55, 60, "おわる", Glyph::Close, kRed, kEditorBack, 680, 13},
    {"Img/Common_Button/", "File_Open", 134, 26, "ひらく", Glyph::Open, kBlue, kEditorBack, 41, 75},
    {"Img/Common_Button/", "File_Save", 134, 26, "ほぞん", Glyph::Save, kBlue, kEditorBack, 179, 75},
    {"Img/Common_Button/", "furo", 134, 26, "チャート", Glyph::Chart, kTeal, kEditorBack, 317, 75},
    {"Img/Common_Button/", "Command_Number", 134, 26, "メモリ", Glyph::Memory, kTeal, kEditorBack, 317, 75},
    {"Img/Common_Button/", "Report", 134, 26, "レポート", Glyph::Report, kGreen, kEditorBack, 455, 75},
    {"Img/Common_Button/", "All_Delete", 134, 26, "ぜんぶけす", Glyph::Trash, kRed, kEditorBack, 593, 75},
    {"Img/Common_Button/", "Command_Total", 134, 26, "メモリ", Glyph::Memory, kTeal, kEditorBack, 593, 75},
    {"Img/Common_Button/", "saisei", 134, 26, "きいてみる", Glyph::Speaker, kGreen},
    {"Img/Common_Button/", "Melo_Print", 134, 26, "いんさつ", Glyph::Printer, kTeal},
    {"Img/Common_Button/", "note", 134, 26, "おんぷ", Glyph::Note, kPink},
    {"Img/Common_Button/", "Link", 134, 26, "リンク", Glyph::Link, kYellow},
    {"Img/Common_Button/", "Add_Command", 150, 50, "ついか", Glyph::Plus, kOrange},
    {"Img/Common_Button/", "Add_Sub", 123, 34, "サブをふやす", Glyph::Plus, kPurple},
    {"Img/Common_Button/", "OK", 150, 50, "OK", Glyph::Check, kGreen},
    {"Img/Common_Button/", "cancel", 150, 50, "やめる", Glyph::Cross, kGrey},
    {"Img/Common_Button/", "FuroBye", 35, 35, "", Glyph::Close, kRed, "Img/Panel/Furo_Insert", 456, 8},
    {"Img/Common_Button/", "MelodyBye", 35, 35, "", Glyph::Close, kRed, "Img/Panel/Melody_Insert", 657, 4},
    // Settings window and transfer mode page
    {"Img/SetUp/", "OK", 120, 40, "OK", Glyph::Check, kGreen},
    {"Img/SetUp/", "cancel", 120, 40, "やめる", Glyph::Cross, kGrey},
    {"Img/SetUp/", "Test", 170, 40, "てんそうモード", Glyph::Speaker, kBlue},
    {"Img/SetUp/", "LED", 170, 40, "LEDをもどす", Glyph::Bulb, kOrange},
    {"Img/SetUp/", "melo", 170, 40, "メロディをもどす", Glyph::Note, kPink},
    {"Img/SetUp/", "Test_Start", 170, 44, "けってい", Glyph::Check, kGreen},
    {"Img/SetUp/", "Wiza", 170, 44, "ウィザード", Glyph::Wand, kPurple},
    {"Img/SetUp/", "Bye", 55, 60, "もどる", Glyph::Back, kRed},
    // Chart view (buttons on its bottom band)
    {"Img/Disp_Furo/", "Out", 150, 50, "いんさつ", Glyph::Printer, kTeal, "Img/Back/Chart", 15, 440},
    {"Img/Disp_Furo/", "Bye", 300, 50, "とじる", Glyph::Close, kRed, "Img/Back/Chart", 184, 440},
    // Report window
    {"Img/Report/", "Preview", 150, 44, "みてみる", Glyph::Magnifier, kBlue, "Img/Back/Report", 338, 15},
    {"Img/Report/", "Print", 150, 44, "いんさつ", Glyph::Printer, kTeal, "Img/Back/Report", 500, 15},
    {"Img/Report/", "Bye", 55, 60, "とじる", Glyph::Close, kRed, "Img/Back/Report", 680, 13},
    // First-run wizard
    {"Img/Wizard/", "Next", 120, 40, "つぎへ", Glyph::Next, kOrange},
    {"Img/Wizard/", "Cancel", 120, 40, "やめる", Glyph::Cross, kGrey},
    {"Img/Wizard/", "Yes", 120, 40, "はい", Glyph::Circle, kGreen},
    {"Img/Wizard/", "No", 120, 40, "いいえ", Glyph::Cross, kRed},
    {"Img/Wizard/", "Finish", 120, 40, "おわる", Glyph::Flag, kOrange},
    {"Img/Wizard/", "Test", 120, 40, "テスト", Glyph::Speaker, kBlue},
    {"Img/Wizard/", "Jikko", 120, 40, "じっこう", Glyph::Play, kGreen},
    {"Img/Wizard/", "Back", 120, 40, "もどる", Glyph::Back, kGrey},
    {"Img/Wizard/", "tojiru", 120, 40, "とじる", Glyph::Close, kRed},
    {"Img/Wizard/", "renew", 120, 40, "こうしん", Glyph::Refresh, kBlue},
    {"Img/Wizard/", "shudo", 120, 40, "しゅどう", Glyph::Hand, kPurple},
    // The virtual lamp, and the button that opens it from each editor
    {"Img/Common_Button/", "Lamp", 120, 20, "ためす", Glyph::Bulb, kYellow},
    {"Img/Lamp/", "Help", 55, 60, "ヘルプ", Glyph::Help, kPurple, "Img/Back/Lamp", 279, 8},
    {"Img/Lamp/", "Bye", 55, 60, "とじる", Glyph::Close, kRed, "Img/Back/Lamp", 336, 8},
    {"Img/Lamp/", "Touch", 176, 64, "タッチ", Glyph::Hand, kPink, "Img/Back/Lamp", 16, 420},
    {"Img/Lamp/", "Start", 176, 64, "スタート", Glyph::Play, kGreen, "Img/Back/Lamp", 208, 420},
    {"Img/Lamp/", "Halt", 176, 64, "とめる", Glyph::Cross, kRed, "Img/Back/Lamp", 208, 420},
    {"Img/Lamp/", "Speed1", 76, 44, "1ばい", Glyph::None, kBlue, "Img/Back/Lamp", 140, 498},
    {"Img/Lamp/", "Speed10", 76, 44, "10ばい", Glyph::None, kBlue, "Img/Back/Lamp", 224, 498},
    {"Img/Lamp/", "Speed60", 76, 44, "60ばい", Glyph::None, kBlue, "Img/Back/Lamp", 308, 498},
};

// Window backgrounds (750 x 500 tool windows share one title strip so the shared buttons fit all).
struct BackArt {
    const char* path;
    int w, h;
    BgStyle style;
    const char* title;
    QColor accent;
    bool titleStrip;  // also written as Img/Title/<name> (750 x 73)
};

const BackArt kBacks[] = {
    {"Img/Menu/Back", 600, 400, MainMenu, "KR-31 プログラミング", kOrange, false},
    {"Img/Back/DD", 750, 500, IconEditor, "アイコンで プログラム", kOrange, true},
    {"Img/Back/Furo", 750, 500, FlowEditor, "フローチャート", kGreen, true},
    {"Img/Back/Moji", 750, 500, TextEditor, "もじで プログラム", kPurple, true},
    {"Img/Back/Melody", 750, 500, MelodyEditor, "メロディを つくろう", kPink, true},
    {"Img/Back/Real", 750, 500, RealTime, "あかるさを ためそう", kYellow, true},
    {"Img/Back/Beep", 750, 500, BeepSound, "めざましの おと", kRed, true},
    {"Img/Back/Report", 750, 500, Report, "レポート", kTeal, true},
    {"Img/Back/Mode", 750, 500, ModePage, "てんそうモード", kBlue, false},
    {"Img/Back/SetUp", 600, 400, SetUpWindow, "せってい", kGrey, false},
    {"Img/Back/Chart", 500, 500, ChartView, "", kTeal, false},
    {"Img/Back/Lamp", 400, 556, LampWindow, "バーチャルランプ", kYellow, false},
};

// The wizard's pages: file, title, instruction, illustration (Entry::style).
struct PageArt {
    const char* name;
    const char* title;
    const char* text;
    int art;
};

const PageArt kWizardPages[] = {
    {"Start", "てんそうモードの せってい", "ようこそ！\nKR-31 に プログラムを おくる\nじゅんびを しましょう。", 0},
    {"Connect", "KR-31 を つなごう", "KR-31 の コードを パソコンの\nイヤホン たんしに\nつないでください。", 1},
    {"Den_On", "でんげんを いれよう", "KR-31 の でんげんを\nいれてください。", 2},
    {"Send", "テストそうしん", "「テスト」を おすと\nテストの メロディを\nおくります。", 3},
    {"Kakunin", "かくにん", "KR-31 から メロディが\nきこえましたか？", 4},
    {"Jikko", "じっこうして みよう", "「じっこう」を おすと KR-31 が\nメロディを ならします。\nきこえたら「はい」、きこえなかったら\n「いいえ」を おしてね。", 5},
    {"ShutDown", "でんげんを きろう", "ちがう モードで ためします。\nKR-31 の でんげんを\nいちど きってください。", 6},
    {"Finish", "できあがり！", "せっていが\nおわりました！", 7},
    {"Manual", "じぶんで えらぶ", "てんそうモードを えらんで\n「こうしん」を おしてね。", 8},
};

QList<Entry> buildTable()
{
    QList<Entry> t;
    auto add = [&t](Entry e) { t.append(std::move(e)); };

    for (const BackArt& b : kBacks) {
        add({.path = b.path, .size = {b.w, b.h}, .kind = Kind::Background, .label = QString::fromUtf8(b.title),
             .colour = b.accent, .style = b.style});
        if (b.titleStrip) {
            const QString name = QString::fromUtf8(b.path).section(u'/', -1);
            add({.path = "Img/Title/" + name, .size = {750, 73}, .kind = Kind::TitleStrip,
                 .bgRef = QString::fromUtf8(b.path)});
        }
    }

    // Main menu tool pictures (normal and highlighted).
    struct Tile { const char* name; int x, y, w, h; const char* label; QColor colour; };
    const Tile tiles[] = {
        {"DD", 58, 135, 80, 110, "アイコン", kOrange},
        {"mFuro", 148, 135, 80, 110, "フロー\nチャート", kGreen},
        {"moji", 238, 135, 80, 110, "もじ", kPurple},
        {"melody", 358, 135, 80, 110, "メロディ", kPink},
        {"Real", 66, 301, 94, 64, "あかるさ", kYellow},
        {"mbeep", 174, 301, 94, 64, "めざまし", kRed},
    };
    int art = 1;
    for (const Tile& m : tiles)
        add({.path = QString("Img/Menu/") + m.name, .size = {m.w, m.h}, .kind = Kind::MenuTile,
             .label = QString::fromUtf8(m.label), .colour = m.colour, .pair = Pair::Highlight,
             .bgRef = "Img/Menu/Back", .at = {m.x, m.y}, .style = art++});
    add({.path = "Img/Menu/Splash", .size = {400, 267}, .kind = Kind::Splash, .colour = kOrange});

    for (const ButtonArt& b : kButtons)
        add({.path = QString(b.folder) + b.name, .size = {b.w, b.h}, .kind = Kind::Button,
             .label = QString::fromUtf8(b.label), .colour = b.colour, .glyph = b.glyph, .pair = Pair::Pressed,
             .bgRef = b.bgRef ? QString(b.bgRef) : QString(), .at = {b.x, b.y}, .style = b.flat ? 1 : 0});

    // LED commands: slot pictures, palette icons, drag bitmaps, report pictures.
    for (const CommandArt& c : kCommands) {
        const QString label = QString::fromUtf8(words::find(c.code)->card);
        add({.path = QString("Img/DD/Icon/") + c.name, .size = {100, 170}, .kind = Kind::CommandSlot,
             .label = label + u'\t' + QString::fromUtf8(c.description), .colour = c.colour, .cmd = c.cmd});
        add({.path = QString("Img/DD/Palette/") + c.name, .size = {55, 55}, .kind = Kind::PaletteIcon,
             .label = label, .colour = c.colour, .cmd = c.cmd});
        add({.path = QString("Img/DD/Icon/") + c.name, .size = {55, 55}, .kind = Kind::DragBitmap,
             .label = label, .colour = c.colour, .cmd = c.cmd, .ext = "bmp"});
        add({.path = QString("HTML/DD/Img/") + c.reportName, .size = {60, 60}, .kind = Kind::ReportIcon,
             .label = label, .colour = c.colour, .cmd = c.cmd});
    }
    add({.path = "Img/DD/Icon/Empty", .size = {100, 170}, .kind = Kind::CommandSlot,
         .label = QString::fromUtf8("ここに\nおいてね"), .colour = kGrey, .cmd = Cmd::Empty});

    const QColor gauge[] = {kGreen, QColor(0xB5, 0xD3, 0x30), kOrange, kRed};
    for (int i = 0; i < 4; ++i)
        add({.path = QString("Img/DD/Gauge%1").arg(i + 1), .size = {144, 10}, .kind = Kind::Gauge,
             .colour = gauge[i]});
    add({.path = "Img/DD/Thumb", .size = {11, 18}, .kind = Kind::Thumb, .colour = kOrange, .ext = "bmp"});

    // Flowchart page tabs and page titles.
    const QColor pageColours[] = {kOrange, kBlue, kGreen, kPink, kPurple, kTeal, kYellow, kRed,
                                  QColor(0x5C, 0x6B, 0xC0), QColor(0x8D, 0x6E, 0x63)};
    for (int i = 0; i < 10; ++i) {
        const QString tab = i == 0 ? QString::fromUtf8("メイン") : QString::fromUtf8("サブ %1").arg(i);
        const QString title = i == 0 ? QString::fromUtf8("メインプログラム")
                                     : QString::fromUtf8("サブルーチン %1").arg(i);
        add({.path = QString("Img/Furo/Sub%1").arg(i), .size = {126, 25}, .kind = Kind::PageTab, .label = tab,
             .colour = pageColours[i], .style = i});
        add({.path = QString("Img/Furo/St%1").arg(i), .size = {126, 26}, .kind = Kind::PageTitle, .label = title,
             .colour = pageColours[i], .style = i});
    }

    // Melody keyboard and staff names.
    add({.path = "Img/Onpu/Ken_White", .size = {26, 110}, .kind = Kind::PianoKey, .pair = Pair::DashOne,
         .style = 0});
    add({.path = "Img/Onpu/Ken_Black", .size = {16, 68}, .kind = Kind::PianoKey, .pair = Pair::DashOne,
         .style = 1});
    add({.path = "Img/Onpu/Melody1", .size = {60, 28}, .kind = Kind::StaffName,
         .label = QString::fromUtf8("メロディ1"), .colour = kPink});
    add({.path = "Img/Onpu/Melody2", .size = {60, 28}, .kind = Kind::StaffName,
         .label = QString::fromUtf8("メロディ2"), .colour = kBlue});

    // Dialog backgrounds and illustrated panels (Entry::style picks the layout).
    struct PanelArt { const char* path; int w, h; const char* title; QColor colour; int style; };
    const PanelArt panels[] = {
        {"Img/Panel/Furo_Insert", 500, 300, "めいれいを\nいれる", kGreen, 1},
        {"Img/Panel/Furo_Editing", 500, 300, "めいれいを\nかえる", kOrange, 1},
        {"Img/Panel/Melody_Insert", 700, 220, "おんぷを いれる", kPink, 2},
        {"Img/Panel/Melody_Editing", 700, 220, "おんぷを かえる", kPurple, 2},
        {"Img/Panel/Melo_Print", 700, 220, "がくふを いんさつ", kTeal, 3},
        {"Img/Panel/Sending", 300, 150, "おくっています…", kOrange, 4},
        {"Img/Panel/Finish-1", 260, 140, "モード 2・3", kPurple, 5},
        {"Img/Panel/Finish-2", 260, 140, "モード 0・1", kBlue, 6},
        {"Img/Wizard/Den_On_A", 212, 166, "ボタンを おしながら\nでんげんを いれてね", kOrange, 7},
        {"Img/Wizard/Den_On_B", 212, 166, "ボタンを おしながら\nでんげんを いれてね", kOrange, 8},
    };
    for (const PanelArt& p : panels)
        add({.path = p.path, .size = {p.w, p.h}, .kind = Kind::Panel, .label = QString::fromUtf8(p.title),
             .colour = p.colour, .style = p.style});

    // Wizard pages: a Background of its own layout per page.
    for (const PageArt& p : kWizardPages)
        add({.path = QString("Img/Wizard/Page_") + p.name, .size = {600, 400}, .kind = Kind::Panel,
             .label = QString::fromUtf8(p.title) + u'\t' + QString::fromUtf8(p.text), .colour = kOrange,
             .style = 100 + p.art});

    add({.path = "Img/kr31", .size = {256, 256}, .kind = Kind::AppIcon, .colour = kOrange, .ext = "png"});
    return t;
}

}  // namespace

const QList<Entry>& table()
{
    static const QList<Entry> t = buildTable();
    return t;
}

QString variantPath(const Entry& e, int variant)
{
    QString suffix;
    if (variant == 1)
        suffix = e.pair == Pair::DashOne ? QStringLiteral("-1") : QStringLiteral("1");
    return e.path + suffix + u'.' + e.ext;
}

QList<OutputFile> outputFiles()
{
    QList<OutputFile> files;
    const QList<Entry>& t = table();
    for (int i = 0; i < t.size(); ++i) {
        const int variants = t[i].pair == Pair::Single ? 1 : 2;
        for (int v = 0; v < variants; ++v)
            files.append({variantPath(t[i], v), t[i].size, i, v});
    }
    return files;
}

}  // namespace kr31::art
