#pragma once

#include <QString>
#include <QStringList>

// The system's shared limits and the exact texts of its messages and prompts.
namespace kr31 {

namespace limits {
inline constexpr int MaxTotal = 47;         // device memory in bytes; icon slots; flowchart cells
inline constexpr int MaxTime = 64800;       // longest timer, in seconds (18 hours)
inline constexpr int FlowchartPages = 10;   // main program and nine subroutines
inline constexpr int MelodySlots = 96;      // notes of each melody voice
inline constexpr int StaffStep = 6;         // pixels
inline constexpr int EighthUnit = 18;       // pixels
inline constexpr int SecondStaffSteps = 16; // second staff below the first, in staff steps
} // namespace limits

namespace msg {
inline const QString Restart = QStringLiteral("ソフトを再起動するか解決しない場合は再度インストールして下さい。");

inline const QString FileMissing101 = QStringLiteral("(101)プログラムに必要なファイルが見つかりません。\n") + Restart;
inline const QString OpenError102 = QStringLiteral("(102)ファイルオープンエラー");
inline const QString ProcessError103 = QStringLiteral("(103)プログラム処理中にエラーが発生しました。\n") + Restart;
inline const QString SettingsRead104 = QStringLiteral("(104)設定ファイル読み込みエラー");
inline const QString SettingsWrite105 = QStringLiteral("(105)設定ファイル書き込みエラー");
inline const QString CannotOpen111 =
    QStringLiteral("(111)指定したファイルを開くことが出来ません\nファイル名を確認して下さい。");
inline const QString OtherStep112 =
    QStringLiteral("(112)指定したファイルは他のステップで作成されたファイルの為、開くことが出来ません。");
inline const QString RepeatError501 =
    QStringLiteral("(501)繰り返し命令においてエラーが発生しました。再度確認して下さい。");
inline const QString ProgramError502 =
    QStringLiteral("(502)プログラムエラーの為、転送出来ません。プログラムを修正して下さい。");
inline const QString AddOverLimit503 =
    QStringLiteral("総命令数が最大値を超える為、これ以上命令を追加することは出来ません。(503)");
inline const QString SendOverLimit504 =
    QStringLiteral("総命令数が最大値を超えています。総命令数を47個以下にして下さい。(504)");
inline const QString NoMoreSubroutines505 = QStringLiteral("これ以上サブルーチンを追加できません。(505)");
inline const QString NoRepeatInSubroutine506 = QStringLiteral("サブルーチンでは繰り返し命令は追加できません。(506)");
inline const QString OutOfRange507 =
    QStringLiteral("(507)プログラムエラー。命令の有効範囲を超えましたので作業を中断しました。");

inline const QString SavePrompt = QStringLiteral("プログラムが更新されています。保存しますか？");
inline const QString OverwritePrompt = QStringLiteral("同じ名前のファイルが既にあります。上書きしますか？");
inline const QString GrammarPrompt =
    QStringLiteral("プログラムの文法が間違っている為、他のステップでは開くことが出来ません。\nこのまま保存しますか？");
inline const QString TotalPrompt =
    QStringLiteral("総命令数が最大値を超えている為、他のステップでは開くことが出来ません。\nこのまま保存しますか？");

// "現在のメモリ使用量は" + total + "です。"
inline QString memoryUsage(int total)
{
    return QStringLiteral("現在のメモリ使用量は") + QString::number(total) + QStringLiteral("です。");
}

// The text language's line message: "プログラムの文法に誤りがあります。　" + line number + "行目を確認して下さい。"
inline QString grammarFault(int lineNumber)
{
    return QStringLiteral("プログラムの文法に誤りがあります。\u3000") + QString::number(lineNumber) +
           QStringLiteral("行目を確認して下さい。");
}

// A message with the reason of a failed read or write on a line of its own.
inline QString withReason(const QString &message, const QString &reason)
{
    return message + QStringLiteral("\n（理由: ") + reason + QStringLiteral("）");
}

// (102), then the file that could not be opened (when there is one) and why.
inline QString notOpened(const QString &path, const QString &reason)
{
    const QString head = path.isEmpty() ? OpenError102 : OpenError102 + u'\n' + path;
    return reason.isEmpty() ? head : withReason(head, reason);
}

// Ours: why a file could not be read or written, the reason line of a message.
inline const QString DiskFull = QStringLiteral("ディスクの空きが足りません。");
inline const QString NoPermission = QStringLiteral("ファイルやフォルダーを使う権限がありません。");
inline const QString ReadOnlyPlace = QStringLiteral("書き込みのできない場所です。");
inline const QString NotFound = QStringLiteral("ファイルまたはフォルダーが見つかりません。");
inline const QString FolderOfThatName = QStringLiteral("同じ名前のフォルダーがあります。");
inline const QString NotAFileOfThatName =
    QStringLiteral("同じ名前の、ファイルではないもの（装置やパイプ）があります。そのままにしました。");
inline const QString NameTooLong = QStringLiteral("ファイルの名前が長すぎます。");
inline const QString FileTooBig = QStringLiteral("ファイルが大きすぎます。");
inline const QString TooManyOpen = QStringLiteral("開いているファイルが多すぎます。");
inline const QString IsFolder = QStringLiteral("ファイルではなくフォルダーです。");
inline const QString NotRegularFile = QStringLiteral("ふつうのファイルではありません（装置やパイプは読めません）。");
inline const QString ChangedWhileRead = QStringLiteral("読んでいる間にファイルが変わりました。");
inline QString fileError(int errorNumber)
{
    return QStringLiteral("ファイルの読み書きでエラーが起きました（エラー番号 %1）。").arg(errorNumber);
}
inline QString tooLarge(qint64 limit)
{
    return QStringLiteral("ファイルが大きすぎます（%1 バイトまで読めます）。").arg(limit);
}
// Ours: why a program file was not opened: it holds nothing, its line (counted
// from 1) cannot be read, or it ends after lineCount lines before its last page.
inline const QString EmptyFile = QStringLiteral("ファイルが空です。");
inline QString badLine(int lineNumber)
{
    return QStringLiteral("ファイルの%1行目が読めません。").arg(lineNumber);
}
inline QString pagesMissing(int lineCount)
{
    return QStringLiteral("ファイルが%1行で終わっていて、ページの行が足りません。").arg(lineCount);
}

// Ours: a program file that could not be written (the old file stays as it was).
inline QString cannotSave(const QString &path, const QString &reason)
{
    return withReason(QStringLiteral("ファイルを保存できませんでした。保存先を確認して下さい。\n") + path, reason);
}

// (105), then which sound file (a transfer or preview sound) could not be written, and why.
inline QString soundNotWritten(const QString &path, const QString &reason)
{
    return withReason(SettingsWrite105 + QStringLiteral("\n音のファイルを書き込めませんでした。\n") + path, reason);
}

// (102), then why the help guide could not be shown (missing: the file is not
// there; otherwise no browser took it) and where the guide file is.
inline QString helpNotOpened(const QString &path, bool missing)
{
    return OpenError102 + u'\n' +
           (missing ? QStringLiteral("ヘルプのファイルが見つかりません。\n")
                    : QStringLiteral("ヘルプを表示するブラウザーを開けませんでした。\n"
                                     "次のファイルをブラウザーで開いて下さい。\n")) +
           path;
}

// Ours: text holding characters that a code page 932 file cannot store (nothing is written).
inline QString unstorable(const QStringList &characters)
{
    return QStringLiteral("ファイルに入れられない文字があります: 「") + characters.join(QStringLiteral("」「")) +
           QStringLiteral("」\nその文字を消すか、ほかの文字に変えて下さい。");
}

// Ours: a save onto a name that a folder holds (nothing is written).
inline QString folderInTheWay(const QString &path)
{
    return QStringLiteral("同じ名前のフォルダがあるので、保存できませんでした。べつの名前にして下さい。\n") + path;
}

// Ours: a transfer sound that could not be played (the reason follows on a second line).
inline const QString CannotPlay =
    QStringLiteral("音を再生できませんでした。スピーカーやイヤホンがつながっているか確認して下さい。");
// Ours: the reason when the sound device has taken no samples for StallMs.
inline constexpr int StallMs = 2000;
inline const QString SoundStalled = QStringLiteral("音を出す装置が2秒のあいだ音を受け取りませんでした。");
inline QString cannotPlay(const QString &reason)
{
    return withReason(CannotPlay, reason);
}
// Ours: why a sound could not be played (the reason of cannotPlay).
inline const QString SoundLibraryMissing = QStringLiteral("音を出すライブラリが見つかりません。");
inline const QString NoSoundDevice = QStringLiteral("音を出す装置が見つかりません。");
inline const QString SoundDeviceBusy = QStringLiteral("音を出す装置がほかのソフトで使われています。");
inline const QString SoundDeviceForbidden = QStringLiteral("音を出す装置を使う権限がありません。");
inline const QString SoundDeviceError = QStringLiteral("音を出す装置でエラーが起きました。");
inline const QString PlayTimedOut = QStringLiteral("決められた時間内に再生が終わりませんでした。");
inline const QString NoSoundServer = QStringLiteral("サウンドサーバーにつながりません。");
inline const QString ServerRefusedSound = QStringLiteral("サウンドサーバーが音を受け付けませんでした。");
inline const QString ServerEndedSound = QStringLiteral("サウンドサーバーが音を止めました。");
inline const QString OutputChanged = QStringLiteral("音の出力先が途中で変わりました。");
inline const QString ServerPausedSound = QStringLiteral("サウンドサーバーが音を途中で止めました。");
inline const QString SoundUnderflow = QStringLiteral("音が途中で途切れました（コンピューターが忙しすぎます）。");
inline const QString SoundServerError = QStringLiteral("サウンドサーバーでエラーが起きました。");

// Ours: a transfer through a sound server whose output does not run at 48 kHz:
// refused (modes 2 and 3, which it cannot carry), or sent with this warning.
inline QString outputRate(int rate, bool refused)
{
    const QString found = QStringLiteral("スピーカーの出力が 48000 Hz ではなく %1 Hz で動いています。\n").arg(rate);
    if (refused)
        return found + QStringLiteral("このままではランプに正しく届かないので、送りませんでした。\n"
                                      "ほかのソフトの音を止めてからもう一度送るか、"
                                      "メニューの転送モードのページでモード 0 か 1 を選んで下さい。");
    return found + QStringLiteral("音の形が少し変わるので、ランプが正しく聞き取れないことがあります。\n"
                                  "うまく届かないときは、ほかのソフトの音を止めてからもう一度送って下さい。");
}

// Ours: a transfer that the output's monitor did not hear as sent, and why.
inline const QString NotHeard =
    QStringLiteral("送った音がスピーカーから正しく出ていなかったので、ランプには届いていないかもしれません。");
inline const QString HeardNothing =
    QStringLiteral("スピーカーから音が出ていません。消音になっていないか、音量調節を確かめて下さい。");
inline const QString HeardTooQuiet =
    QStringLiteral("音が小さくなっていました。音量調節でこのソフトかスピーカーの音が下げられています。");
inline const QString HeardReshaped =
    QStringLiteral("音の形が変わっていました。出力の周波数や音の効果を確かめて下さい。");
inline const QString HeardMixed =
    QStringLiteral("ほかの音が混ざっていました。ほかのソフトの音を止めてからもう一度送って下さい。");
inline const QString HeardCut = QStringLiteral("音が途中で途切れました。");

// Ours: the names of the program's sound streams, as a desktop's volume control lists them.
inline const QString StreamName = QStringLiteral("KR-31");
inline const QString SendStreamName = QStringLiteral("KR-31 送信");
inline const QString SendCheckStreamName = QStringLiteral("KR-31 送信の確かめ");

// The question before a flowchart page is emptied: the main program (page 0) or subroutine k.
inline QString clearPagePrompt(int page)
{
    const QString which = page == 0 ? QStringLiteral("メインプログラム")
                                    : QStringLiteral("サブルーチン") + QString::number(page);
    return which + QStringLiteral("内のプログラムをすべて削除します。よろしいですか？");
}

// Ours: a melody file whose voice holds more notes than the lamp takes (the voice's name follows).
inline QString melodyCut(int voice)
{
    return QStringLiteral("メロディ%1の音符が95個をこえていたので、はじめの95個だけを読み込みました。")
        .arg(voice == 0 ? QStringLiteral("１") : QStringLiteral("２"));
}

// Ours: the question at start for work an editor had not saved when the program
// ended without closing (a crash, a kill, a power cut).
inline const QString RecoveryIconWork = QStringLiteral("アイコンでつくったプログラム");
inline const QString RecoveryFlowchartWork = QStringLiteral("フローチャートでつくったプログラム");
inline const QString RecoveryTextWork = QStringLiteral("文字でつくったプログラム");
inline const QString RecoveryMelodyWork = QStringLiteral("つくっていたメロディ");
// work + "が保存されずに残っています（" + when + "）。\nもどしますか？"
inline QString recoveryQuestion(const QString &work, const QString &when)
{
    return work + QStringLiteral("が保存されずに残っています（") + when +
           QStringLiteral("）。\nもどしますか？（「いいえ」で消えます）");
}
// Ours: the text window's control could not be loaded (the reason follows).
inline QString textControlMissing(const QString &reason)
{
    return QStringLiteral("文字のプログラムの画面を開けませんでした。\n") + Restart + QStringLiteral("\n\n") + reason;
}

// Ours: at start, the state folder cannot be used (a file in its place, a
// read-only disk...): no copies of unsaved work are kept and the mixer is not
// noted; the folder and why follow.
inline QString stateFolderUnusable(const QString &folder, const QString &reason)
{
    return withReason(
        QStringLiteral("保存していない作業の控えを残せません（プログラムが急に終わると、作業は消えます）。"
                       "音量をもとにもどす見守りも働きません。\n次のフォルダーが使えません:\n") +
            folder,
        reason);
}

// The time of a recovery copy in the question above ("3月14日 09:26").
inline QString recoveryTime(int month, int day, const QString &hoursMinutes)
{
    return QStringLiteral("%1月%2日 %3").arg(month).arg(day).arg(hoursMinutes);
}

// The transfer mode chosen on the transfer mode page or in the wizard.
inline QString transferModeSet(int mode)
{
    return QStringLiteral("転送モードが %1 に設定されました。").arg(mode);
}
inline const QString LeaveWizardPrompt = QStringLiteral("転送モードの設定を終了します。よろしいですか？");
// The settings window's command words, one of them left empty.
inline const QString CommandWordMissing =
    QStringLiteral("関数設定で未入力な項目があります。関数設定を正しく行って下さい。");
// The report and the melody print without the learner's grade, class or name.
inline const QString NamesMissing = QStringLiteral("学年、組、名前を正しく入力して下さい。");
// Ours: a report page that could not be written (the reason follows on further lines).
inline const QString ReportNotWritten = QStringLiteral("レポートを保存できませんでした。");
// Ours: a start that found another kr31 that did not answer.
inline const QString MaybeRunning = QStringLiteral(
    "ほかの KR-31 が動いているかもしれません。\n同じプログラムを2つで直すと、片方の変更がなくなることがあります。");
// Ours: the flowchart's command dialog with a value box that holds no number.
inline QString numberWanted(const QString &label)
{
    return QStringLiteral("「%1」に数字を入れて下さい。").arg(label);
}
// Ours: where a flowchart entry that is no command stands: page 0 is the main
// program; step counts from 1.
inline QString flowchartEntryAt(int page, int step, const QString &entry)
{
    const QString where = page == 0 ? QStringLiteral("メイン") : QStringLiteral("サブルーチン %1 ").arg(page);
    return QStringLiteral("\n（%1の %2 ばんめ「%3」）").arg(where).arg(step).arg(entry);
}

// Ours: a sound that waits for, or gave up waiting for, another process's transfer.
inline const QString WaitingForTurn = QStringLiteral("ほかの送信が終わるのを待っています…");
inline QString noTurn(int seconds)
{
    return QStringLiteral("ほかの送信が %1 秒たっても終わらないため、音を出せませんでした。"
                          "ほかの送信が終わってから、もう一度試して下さい。")
        .arg(seconds);
}

// Ours: why a sound file cannot be played or decoded.
inline const QString NotWav = QStringLiteral("WAVファイルではありません。");
inline const QString WavFormatBroken = QStringLiteral("WAVファイルの形式情報が壊れています。");
inline const QString WavNotPcm = QStringLiteral("PCM形式のWAVファイルではありません。");
inline const QString WavFormatMissing = QStringLiteral("WAVファイルの形式情報がありません。");
inline const QString WavNoSamples = QStringLiteral("WAVファイルに音のデータがありません。");
inline const QString WavNotTransferFormat = QStringLiteral("48000 Hz・モノラル・8ビットのWAVファイルではありません。");
inline QString soundFileNotOpened(const QString &path, const QString &reason)
{
    return QStringLiteral("音のファイル「%1」を開けませんでした。\n%2").arg(path, reason);
}
inline QString soundFileNotPlayable(const QString &path)
{
    return QStringLiteral("音のファイル「%1」は再生できない形式です。"
                          "8ビット・モノラル・48000 Hz の PCM の WAV ファイルが必要です。")
        .arg(path);
}
// Ours: why a transfer sound could not be decoded; %1 is the sample where it went wrong.
inline const QString NoSamples = QStringLiteral("音のデータが空です。");
inline const QString NoLeader = QStringLiteral("転送音の始まり（リーダー）が見つかりません。");
inline const QString LeaderBroken = QStringLiteral("転送音のリーダーが壊れています。");
inline const QString OneBitBroken = QStringLiteral("%1 サンプル目の1ビットが壊れています。");
inline const QString ZeroBitBroken = QStringLiteral("%1 サンプル目の0ビットが壊れています。");
inline const QString SoundBreaksOff = QStringLiteral("%1 サンプル目で音が途切れています。");
inline const QString BitBroken = QStringLiteral("%1 サンプル目のビットが壊れています。");
inline const QString NoStartBit = QStringLiteral("%1 サンプル目にスタートビットがありません。");
inline const QString ByteEndBroken = QStringLiteral("%1 サンプル目のバイトの終わりが壊れています。");

// Ours: the command lines' mistakes (kr31 and kr31-cli).
inline QString unknownOption(const QString &dashes, const QString &name)
{
    return QStringLiteral("知らないオプションです: %1%2").arg(dashes, name);
}
inline QString optionValueMissing(const QString &option)
{
    return QStringLiteral("%1 の後に値がありません。").arg(option);
}
inline const QString OneFileOnly = QStringLiteral("開くファイルは1つだけ指定して下さい。");
inline const QString NoCommand = QStringLiteral("コマンドを指定して下さい。");
inline QString unknownCommand(const QString &name)
{
    return QStringLiteral("知らないコマンドです: %1").arg(name);
}
inline QString badArguments(const QString &command, const QString &synopsis)
{
    return QStringLiteral("%1 の引数が正しくありません。使い方: kr31-cli %1 %2").arg(command, synopsis);
}
inline const QString OutputFileMissing = QStringLiteral("書き出すファイルを -o で指定して下さい。");
inline const QString OutputFolderMissing = QStringLiteral("書き出すフォルダを -o で指定して下さい。");
inline QString outOfRange(const QString &what, int min, int max, const QString &value)
{
    return QStringLiteral("%1は %2 から %3 の整数で指定して下さい: %4").arg(what).arg(min).arg(max).arg(value);
}
inline const QString NotSent = QStringLiteral("送信できませんでした。");
// Ours: the faulty line of a file (counted from 1) under kr31-cli's message.
inline QString atLine(int lineNumber, const QString &line)
{
    return QStringLiteral("(%1 行目: %2)").arg(lineNumber).arg(line);
}

// Ours: the text language's hints under its line message (name: the command as
// the learner wrote it).
inline QString argumentRange(const QString &label, int min, int max)
{
    return QStringLiteral("%1は %2～%3").arg(label).arg(min).arg(max);
}
inline QString valuesHint(const QString &name, const QStringList &ranges)
{
    return QStringLiteral("「%1」の数: %2 の整数で書いてね。").arg(name, ranges.join(QStringLiteral("、")));
}
inline QString noArgumentsHint(const QString &name)
{
    return QStringLiteral("「%1」の ( ) の中には何も書かないでね。").arg(name);
}
inline QString argumentCountHint(const QString &name, const QStringList &labels)
{
    return QStringLiteral("「%1」には数を%2つ書いてね（%3）。")
        .arg(name, labels.size() == 1 ? QStringLiteral("1") : QStringLiteral("2"), labels.join(QStringLiteral("、")));
}
inline const QString LoopBoundHint = QStringLiteral("くりかえしの数は i<2 ～ i<256 か、i<=1 ～ i<=255 で書いてね。");
inline QString loopFormHint(const QString &example)
{
    return QStringLiteral("%1 のように書いてね。").arg(example);
}
inline QString openBraceHint(const QString &name)
{
    return QStringLiteral("%1 の最後には「{」をつけてね。").arg(name);
}
inline const QString ParenthesesHint = QStringLiteral("命令のうしろに ( ) をつけてね。");
inline const QString OneCommandPerLineHint = QStringLiteral("1行に命令は1つだけ書いてね。");
inline const QString SemicolonHint = QStringLiteral("命令の最後に「;」をつけてね。");
// name written in another letter case than right.
inline QString letterCaseHint(const QString &name, const QString &right)
{
    return QStringLiteral("「%1」は「%2」と書いてね（大文字・小文字もこのとおり）。").arg(name, right);
}
inline const QString NoCommandNameHint = QStringLiteral("命令の名前が見つかりません。");
inline QString unknownNameHint(const QString &name)
{
    return QStringLiteral("「%1」という命令はありません。右の一覧の名前で書いてね。").arg(name);
}
inline const QString FullWidthHint = QStringLiteral("全角の （ ） ； やスペースが入っています。半角で書いてね。");
inline const QString StrayCloseHint = QStringLiteral("この「}」に合う For や While がありません。");
inline const QString NestedLoopHint = QStringLiteral("ループの中にループは書けません。前のループを「}」で閉じてね。");
inline QString notInLoopHint(const QString &name)
{
    return QStringLiteral("ループの中に「%1」は書けません。").arg(name);
}
inline const QString UnclosedLoopHint = QStringLiteral("このループを閉じる「}」がありません。");
// A repeat at position (counted from 0) whose return address is not below it.
inline QString returnAddressHint(int position)
{
    return QStringLiteral("この命令は%1番め（0から数えて）です。戻り番地は%1より小さくしてね。"
                          "あいだに別のくりかえしがあってもいけません。")
        .arg(position);
}
inline const QString EmptyLoopHint = QStringLiteral("ループの中に命令がありません。");
// Ours: the text window's find bar, when nothing matches and after a replacement.
inline const QString NoMatch = QStringLiteral("みつかりません");
inline QString replaced(int count)
{
    return QStringLiteral("%1こ おきかえました").arg(count);
}
} // namespace msg

namespace keyword {
inline const QString For = QStringLiteral("For");
inline const QString While = QStringLiteral("While");
} // namespace keyword

} // namespace kr31
