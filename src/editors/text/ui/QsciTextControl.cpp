// The text window's control, built as the module "libkr31textcontrol.so":
// the Scintilla widget with the window's look, its markers, indicators and
// line-end styling. It links only Qt and QScintilla.
#include "editors/text/ui/TextControl.h"

#include <Qsci/qsciscintilla.h>

#include <QFontMetrics>

#include <algorithm>

namespace kr31 {

namespace {

// Scintilla indicators and markers of this control (8 and up belong to the container).
constexpr int CommentTextIndicator = 8;
constexpr int CommentBackIndicator = 9;
constexpr int QuoteIndicator = 10;
constexpr int LinkIndicator = 11;
constexpr int FaultLineMarker = 1;
constexpr int FaultArrowMarker = 2;
constexpr int LampLineMarker = 3;
constexpr int HintStyle = 50;
constexpr int LineEndStyle = 51;

class QsciTextControl final : public QsciScintilla, public TextControl
{
public:
    explicit QsciTextControl(QWidget *parent)
        : QsciScintilla(parent)
    {
        connect(this, &QsciScintillaBase::SCN_STYLENEEDED, this, [this](int position) { styleLineEnds(position); });
        connect(this, &QsciScintilla::textChanged, this, [this] {
            if (onTextChanged)
                onTextChanged();
        });
        // The number margin grows with the line count, one digit to spare, so no number is clipped.
        connect(this, &QsciScintilla::linesChanged, this, [this] { fitNumberMargin(); });
        connect(this, &QsciScintilla::modificationChanged, this, [this](bool modified) {
            if (onModificationChanged)
                onModificationChanged(modified);
        });
    }

    QWidget *widget() override { return this; }

    void fitNumberMargin()
    {
        const int digits = std::max<int>(3, QString::number(lines()).size()) + 1;
        if (digits != m_marginDigits) {
            m_marginDigits = digits;
            setMarginWidth(0, QString(digits, QLatin1Char('0')));
        }
    }
    int numberMarginWidth() const override { return marginWidth(0); }

    void configure(const QFont &font, const QFont &hintFont) override
    {
        setUtf8(true);
        setFont(font);
        SendScintilla(SCI_STYLECLEARALL);
        setPaper(Qt::white);
        setColor(Qt::black);
        setMarginType(0, NumberMargin);
        setMarginLineNumbers(0, true);
        setMarginsFont(font);
        fitNumberMargin();
        setMarginType(1, SymbolMargin);
        setMarginWidth(1, 14);
        setWrapMode(WrapWord);
        setEdgeColumn(100);
        setTabWidth(6);
        setEolMode(EolWindows);
        setEolVisibility(true);
        setAutoIndent(false);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setCaretLineVisible(true);
        setCaretLineBackgroundColor(QColor(0xFF, 0xFB, 0xE6));

        indicatorDefine(TextColorIndicator, CommentTextIndicator);
        indicatorDefine(StraightBoxIndicator, CommentBackIndicator);
        setIndicatorDrawUnder(true, CommentBackIndicator);
        SendScintilla(SCI_INDICSETALPHA, CommentBackIndicator, 255L);
        SendScintilla(SCI_INDICSETOUTLINEALPHA, CommentBackIndicator, 255L);
        indicatorDefine(TextColorIndicator, QuoteIndicator);
        setIndicatorForegroundColor(Qt::gray, QuoteIndicator);
        indicatorDefine(TextColorIndicator, LinkIndicator);
        setIndicatorForegroundColor(Qt::blue, LinkIndicator);

        markerDefine(Background, FaultLineMarker);
        setMarkerBackgroundColor(QColor(0xFF, 0xC8, 0xC8), FaultLineMarker);
        markerDefine(RightArrow, FaultArrowMarker);
        setMarkerBackgroundColor(QColor(0xD0, 0x20, 0x20), FaultArrowMarker);
        setMarkerForegroundColor(QColor(0xD0, 0x20, 0x20), FaultArrowMarker);
        SendScintilla(SCI_STYLESETFONT, HintStyle, hintFont.family().toUtf8().constData());
        SendScintilla(SCI_STYLESETSIZE, HintStyle, long(qRound(hintFont.pointSizeF())));
        SendScintilla(SCI_STYLESETFORE, HintStyle, QColor(0x80, 0x00, 0x00));
        SendScintilla(SCI_STYLESETBACK, HintStyle, QColor(0xFF, 0xF0, 0xD0));
        setAnnotationDisplay(AnnotationBoxed);
        // Line-end marks in a light grey, so that they show without crowding the text.
        SendScintilla(SCI_STYLESETFORE, LineEndStyle, QColor(0xD4, 0xD4, 0xDC));
        markerDefine(Background, LampLineMarker);
        setMarkerBackgroundColor(QColor(0xFF, 0xE0, 0x82), LampLineMarker);
        m_hintFamily = hintFont.family();
    }

    int lines() const override { return QsciScintilla::lines(); }

    QString lineText(int line) const override
    {
        QString text = QsciScintilla::text(line);
        while (text.endsWith(u'\n') || text.endsWith(u'\r'))
            text.chop(1);
        return text;
    }

    void setText(const QString &text) override { QsciScintilla::setText(text); }
    bool isModified() const override { return QsciScintilla::isModified(); }
    void setModified(bool modified) override { QsciScintilla::setModified(modified); }
    void setCursorPosition(int line, int index) override { QsciScintilla::setCursorPosition(line, index); }
    void undo() override { QsciScintilla::undo(); }
    void redo() override { QsciScintilla::redo(); }
    void emptyUndoBuffer() override { SendScintilla(SCI_EMPTYUNDOBUFFER); }

    void clearHighlights(QColor commentText, QColor commentBack) override
    {
        setIndicatorForegroundColor(commentText, CommentTextIndicator);
        setIndicatorForegroundColor(commentBack, CommentBackIndicator);
        const long length = SendScintilla(SCI_GETLENGTH);
        for (int indicator : {CommentTextIndicator, CommentBackIndicator, QuoteIndicator, LinkIndicator}) {
            SendScintilla(SCI_SETINDICATORCURRENT, indicator);
            SendScintilla(SCI_INDICATORCLEARRANGE, 0UL, length);
        }
    }

    void highlight(Highlight kind, int line, int column, int length) override
    {
        const QString text = lineText(line);
        // Scintilla positions count UTF-8 bytes.
        const long start = SendScintilla(SCI_POSITIONFROMLINE, line) + long(text.left(column).toUtf8().size());
        const long bytes = long(text.mid(column, length).toUtf8().size());
        const auto fill = [&](int indicator) {
            SendScintilla(SCI_SETINDICATORCURRENT, indicator);
            SendScintilla(SCI_INDICATORFILLRANGE, static_cast<unsigned long>(start), bytes);
        };
        switch (kind) {
        case Highlight::Comment:
            fill(CommentTextIndicator);
            fill(CommentBackIndicator);
            break;
        case Highlight::Quote:
            fill(QuoteIndicator);
            break;
        case Highlight::Link:
            fill(LinkIndicator);
            break;
        }
    }

    void markFault(int line, const QString &hint) override
    {
        clearFault();
        markerAdd(line, FaultLineMarker);
        markerAdd(line, FaultArrowMarker);
        if (!hint.isEmpty())
            annotate(line, wrappedHint(hint), HintStyle);
        ensureLineVisible(line);
    }

    void clearFault() override
    {
        markerDeleteAll(FaultLineMarker);
        markerDeleteAll(FaultArrowMarker);
        clearAnnotations();
    }

    void markLampLine(int line) override
    {
        markerDeleteAll(LampLineMarker);
        if (line < 0)
            return;
        markerAdd(line, LampLineMarker);
        ensureLineVisible(line);
    }

    bool find(const QString &what, bool matchCase, bool forward) override
    {
        if (what.isEmpty())
            return false;
        int line, index, lineTo, indexTo;
        getSelection(&line, &index, &lineTo, &indexTo);
        if (line < 0)
            getCursorPosition(&line, &index);
        else if (forward) {
            line = lineTo;
            index = indexTo;
        }
        // From the selection's end forward, or from its start back, so the match shown is passed over.
        return findFirst(what, false, matchCase, false, true, forward, line, index, true);
    }

    bool replaceFound(const QString &what, const QString &with, bool matchCase) override
    {
        const Qt::CaseSensitivity cs = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
        if (!what.isEmpty() && selectedText().compare(what, cs) == 0)
            replaceSelectedText(with);
        return find(what, matchCase, true);
    }

    int replaceAll(const QString &what, const QString &with, bool matchCase) override
    {
        if (what.isEmpty())
            return 0;
        int count = 0;
        beginUndoAction();
        // Without wrapping: each search goes on after the text put in, which may hold what again.
        if (findFirst(what, false, matchCase, false, false, true, 0, 0, false)) {
            do {
                replace(with);
                ++count;
            } while (findNext());
        }
        endUndoAction();
        return count;
    }

    QString selection() const override { return selectedText(); }

private:
    // Text in the default style, each line end in the light grey of its own.
    void styleLineEnds(int end)
    {
        const auto send = [this](unsigned int message, unsigned long w = 0, long l = 0) {
            return SendScintilla(message, w, l);
        };
        int line = int(send(SCI_LINEFROMPOSITION, send(SCI_GETENDSTYLED)));
        long start = send(SCI_POSITIONFROMLINE, line);
        const long length = send(SCI_GETLENGTH);
        send(SCI_STARTSTYLING, start, 0);
        while (start < end && start < length) {
            const long textEnd = send(SCI_GETLINEENDPOSITION, line);
            const long next = ++line < lines() ? send(SCI_POSITIONFROMLINE, line) : length;
            send(SCI_SETSTYLING, textEnd - start, 0);
            send(SCI_SETSTYLING, next - textEnd, LineEndStyle);
            start = next;
        }
    }

    // The hint broken into lines that fit the text area (annotations do not wrap).
    QString wrappedHint(const QString &hint) const
    {
        QFont font(m_hintFamily);
        font.setPointSize(int(SendScintilla(SCI_STYLEGETSIZE, HintStyle)));
        const QFontMetrics metrics(font);
        const int width = viewport()->width() - marginWidth(0) - marginWidth(1) - 16;
        QString out;
        QString line;
        for (const QChar c : hint) {
            if (!line.isEmpty() && metrics.horizontalAdvance(line + c) > width) {
                // Break after the last space or Japanese comma or full stop in the line's second half, if any.
                const qsizetype at = std::max({line.lastIndexOf(u' '), line.lastIndexOf(QChar(0x3001)),
                                               line.lastIndexOf(QChar(0x3002))});
                const qsizetype cut = at > line.size() / 2 ? at + 1 : line.size();
                out += line.left(cut) + u'\n';
                line = line.mid(cut);
            }
            line += c;
        }
        return out + line;
    }

    QString m_hintFamily;
    int m_marginDigits = 0;
};

} // namespace

} // namespace kr31

extern "C" Q_DECL_EXPORT kr31::TextControl *kr31_makeTextControl(QWidget *parent)
{
    return new kr31::QsciTextControl(parent);
}
