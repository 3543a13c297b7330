// Fonts on contexts and the line layout of DrawTextW.
//
// Layout works on one paragraph (text between explicit line breaks) at a time: prefixes are
// taken out first, remembering which characters they marked, then the paragraph is broken into
// lines that fit the width, and each line may lose its tail to an ellipsis.
#include <vxplan/platform/graphics/vxTextLayout_p.h>

#include <vxplan/platform/graphics/vxCanvas.h>

#include <QPaintDevice>

#include <algorithm>

namespace vxplan {

namespace {

const QString kEllipsis = QStringLiteral("...");

bool IsBreak(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }

// A paragraph with prefixes resolved: the positions of the marked characters, in order.
struct TParagraph {
    QString Text;
    std::vector<int> Prefixes;
};

// Splits at CR, LF, CR LF and LF CR; a break at the very end starts no further line.
std::vector<TParagraph> SplitParagraphs(QString text, bool singleLine, bool prefixes)
{
    // On a single line breaks are not drawn at all.
    if (singleLine) text.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    std::vector<TParagraph> result(1);
    const int n = static_cast<int>(text.size());
    for (int i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (IsBreak(c)) {
            if (i + 1 < n && IsBreak(text[i + 1]) && text[i + 1] != c) ++i;
            if (i + 1 < n) result.emplace_back();
            continue;
        }
        TParagraph& p = result.back();
        // "&&" is a plain ampersand; "&x" marks x. An ampersand with nothing after it on its
        // line is shown as it is.
        if (prefixes && c == QLatin1Char('&') && i + 1 < n && !IsBreak(text[i + 1])) {
            ++i;
            if (text[i] != QLatin1Char('&')) p.Prefixes.push_back(static_cast<int>(p.Text.size()));
        }
        p.Text += text[i];
    }
    return result;
}

int LineWidth(const QString& line, int tabWidth, const TTextMetrics& metrics)
{
    if (tabWidth <= 0 || !line.contains(QLatin1Char('\t'))) return metrics.Width(line);
    const std::vector<TTextSegment> segments = SplitTabs(line, tabWidth, metrics);
    return segments.back().X + metrics.Width(segments.back().Text);
}

// The longest prefix of text[from..to) that fits in width (at least `minimum` characters),
// found by bisection: widths grow with every character added.
int CharsThatFit(const QString& text, int from, int to, int width, int tabWidth, const TTextMetrics& metrics)
{
    int lo = 0, hi = to - from;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (LineWidth(text.mid(from, mid), tabWidth, metrics) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    // Never split a surrogate pair.
    if (lo > 0 && from + lo < to && text[from + lo].isLowSurrogate()) --lo;
    return lo;
}

int SkipSpaces(const QString& text, int i)
{
    while (i < text.size() && text[i] == QLatin1Char(' ')) ++i;
    return i;
}

// The first marked character inside [from, from + count), relative to from.
int PrefixIn(const std::vector<int>& prefixes, int from, int count)
{
    for (int p : prefixes)
        if (p >= from && p < from + count) return p - from;
    return -1;
}

// Shortens line to its longest head that fits with "..." after it.
void EndEllipsis(TTextLine& line, int width, int tabWidth, const TTextMetrics& metrics)
{
    const int ellipsis = metrics.Width(kEllipsis);
    const int n = static_cast<int>(line.Text.size());
    const int keep = CharsThatFit(line.Text, 0, n, width - ellipsis, tabWidth, metrics);
    line.Text = line.Text.left(keep) + kEllipsis;
    if (line.Prefix >= keep) line.Prefix = -1;
}

// Keeps the last path element and shortens what comes before it, with "..." between.
void PathEllipsis(TTextLine& line, int width, int tabWidth, const TTextMetrics& metrics)
{
    const int slash = static_cast<int>(std::max(line.Text.lastIndexOf(QLatin1Char('\\')), line.Text.lastIndexOf(QLatin1Char('/'))));
    if (slash <= 0) {
        EndEllipsis(line, width, tabWidth, metrics);
        return;
    }
    const QString tail = line.Text.mid(slash);
    const int room = width - metrics.Width(kEllipsis + tail);
    const int keep = room > 0 ? CharsThatFit(line.Text, 0, slash, room, tabWidth, metrics) : 0;
    const int removed = slash - keep;
    line.Text = line.Text.left(keep) + kEllipsis + tail;
    if (line.Prefix >= keep && line.Prefix < slash)
        line.Prefix = -1;
    else if (line.Prefix >= slash)
        line.Prefix += static_cast<int>(kEllipsis.size()) - removed;
    if (LineWidth(line.Text, tabWidth, metrics) > width) EndEllipsis(line, width, tabWidth, metrics);
}

}  // namespace

QFont ContextFont(const TDeviceContext& dc)
{
    // A context whose font was never selected draws with the default font.
    QFont font = dc.Font.Font.pixelSize() > 0 ? dc.Font.Font : TFont().Data().Font;
    font.setStyleStrategy(dc.IsRaster() ? QFont::NoAntialias : QFont::PreferAntialias);
    return font;
}

TTextMetrics::TTextMetrics(const QFont& font, const TDeviceContext& dc)
    : metrics_(font, dc.Device()), ascent_(metrics_.ascent()), descent_(metrics_.descent()),
      aveCharWidth_(std::max(1, metrics_.averageCharWidth()))
{
}

TContextText::TContextText(const QFont& selected, const TDeviceContext& dc)
    : Selected(selected), Font(ContextFont(dc)), Metrics(Font, dc)
{
}

const TContextText& TDeviceContext::Text()
{
    // QFont's == leaves out which attributes were set, which decides what a painter takes from
    // its device, so that is compared too. A font assigned from the same TFont shares its data
    // and compares at once.
    const QFont& selected = Font.Font;
    if (!text_ || !(text_->Selected == selected) || text_->Selected.resolveMask() != selected.resolveMask())
        text_ = std::make_unique<TContextText>(selected, *this);
    return *text_;
}

std::vector<TTextSegment> SplitTabs(const QString& line, int tabWidth, const TTextMetrics& metrics)
{
    std::vector<TTextSegment> segments;
    if (tabWidth <= 0) {
        segments.push_back({line, 0, 0});
        return segments;
    }
    int x = 0, start = 0;
    const int n = static_cast<int>(line.size());
    for (int i = 0; i <= n; ++i) {
        if (i < n && line[i] != QLatin1Char('\t')) continue;
        const QString text = line.mid(start, i - start);
        segments.push_back({text, x, start});
        if (i == n) break;
        x += metrics.Width(text);
        x = (x / tabWidth + 1) * tabWidth;
        start = i + 1;
    }
    return segments;
}

TTextLayout LayoutText(const QString& text, int width, int height, uint32_t format, const TTextMetrics& metrics)
{
    if (format & DT_SINGLELINE) format &= ~uint32_t(DT_WORDBREAK);
    const bool clipped = !(format & (DT_NOCLIP | DT_CALCRECT));
    const uint32_t ellipses = format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS);

    TTextLayout layout;
    layout.LineHeight = metrics.Height();
    layout.TabWidth = (format & DT_EXPANDTABS) ? 8 * metrics.AveCharWidth() : 0;
    const int tabWidth = layout.TabWidth;

    const std::vector<TParagraph> paragraphs =
        SplitParagraphs(text, format & DT_SINGLELINE, !(format & DT_NOPREFIX));
    int y = 0;
    for (size_t pi = 0; pi < paragraphs.size(); ++pi) {
        const TParagraph& para = paragraphs[pi];
        const QString& s = para.Text;
        const int n = static_cast<int>(s.size());
        int pos = 0;
        do {
            // The line that reaches the bottom of a clipped rectangle is the last one drawn.
            const bool lastLine = clipped && y + layout.LineHeight > height;
            int len = n - pos, next = n;
            if ((format & DT_WORDBREAK) && LineWidth(s.mid(pos), tabWidth, metrics) > width) {
                const int fit = CharsThatFit(s, pos, n, width, tabWidth, metrics);
                int space = -1;
                if (s[pos + fit] == QLatin1Char(' '))
                    space = pos + fit;
                else
                    for (int k = pos + fit - 1; k > pos; --k)
                        if (s[k] == QLatin1Char(' ')) { space = k; break; }
                if (space > pos) {
                    len = space - pos;
                    while (len > 0 && s[pos + len - 1] == QLatin1Char(' ')) --len;
                    next = SkipSpaces(s, space);
                } else if (ellipses) {
                    // A word too long for the line stays whole and loses its tail instead.
                    int end = pos;
                    while (end < n && s[end] != QLatin1Char(' ')) ++end;
                    len = end - pos;
                    next = SkipSpaces(s, end);
                } else {
                    // A word too long for the line is broken where it must.
                    len = std::max(fit, s[pos].isHighSurrogate() && pos + 1 < n ? 2 : 1);
                    next = pos + len;
                }
            }
            TTextLine line{s.mid(pos, len), PrefixIn(para.Prefixes, pos, len), 0};
            const bool more = next < n || pi + 1 < paragraphs.size();
            // Measuring is the dear part of layout: a line is measured again only when shortened.
            line.Width = LineWidth(line.Text, tabWidth, metrics);
            const bool fits = line.Width <= width;
            if (!fits && (format & DT_PATH_ELLIPSIS)) {
                PathEllipsis(line, width, tabWidth, metrics);
                line.Width = LineWidth(line.Text, tabWidth, metrics);
            } else if ((!fits && (format & (DT_WORD_ELLIPSIS | DT_END_ELLIPSIS))) ||
                       ((format & DT_END_ELLIPSIS) && lastLine && more)) {
                EndEllipsis(line, width, tabWidth, metrics);
                line.Width = LineWidth(line.Text, tabWidth, metrics);
            }
            layout.Lines.push_back(std::move(line));
            y += layout.LineHeight;
            pos = next;
            if (lastLine) return layout;
        } while (pos < n);
    }
    return layout;
}

}  // namespace vxplan
