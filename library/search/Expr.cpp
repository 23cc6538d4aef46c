#include "library/search/Expr.h"

#include <afxwin.h>

#include <limits.h>
#include <stdlib.h>
#include <string.h>

namespace {

const char kWordEnds[] = "=><() ";
const char kOperatorStarts[] = "&|!^";
const char kComparisonChars[] = "=<>";
const char kAgeUnits[] = "yowdhms";
// The tree is never deeper than this, so that building, evaluating and freeing
// it cannot exhaust the stack; each parenthesis and operator may add a level.
const int kMaxDepth = 200;
// Spreading comparisons over groups multiplies tokens: each further
// "= (x | title)" after a group of fields doubles the text. Far more than
// any typed search needs, and small enough to stay quick.
const size_t kMaxTokens = 4096;

const char kNestedTooDeeply[] = "Expression nested too deeply";
const char kTooComplex[] = "Expression too complex";
const char kUnexpectedEnd[] = "Unexpected end to expression";
const char kUnmatchedParentheses[] = "Empty / unmatched parentheses illegal";

struct AgeUnit
{
    char letter;
    double days;
};

const AgeUnit kAgeUnitDays[] = {
    {'y', 365}, {'o', 31}, {'w', 7}, {'d', 1}, {'h', 1.0 / 24}, {'m', 1.0 / 1440}, {'s', 1.0 / 86400},
};

struct ComparisonWord
{
    const char* text;
    int comparison;
};

const ComparisonWord kComparisonWords[] = {
    {"==", kCompareEqual}, {"=", kCompareContains}, {"<", kCompareLess}, {">", kCompareGreater},
};

struct BooleanWord
{
    char start; // a word that begins with it
    const char* word;
    int boolean;
};

const BooleanWord kBooleanWords[] = {
    {'&', "and", kOpAnd}, {'|', "or", kOpOr}, {'\0', "not", kOpNot}, {'^', "xor", kOpXor},
};

const char* const kMissingOperand[] = {
    "Boolean AND missing operand", "Boolean OR missing operand", "Boolean XOR missing operand",
    "Boolean NOT missing operand",
};

CString Bracketed(const char* format, const CString& text)
{
    CString error;
    error.Format(format, static_cast<const char*>(text));
    return error;
}

ExprToken MakeToken(int kind, const char* text)
{
    ExprToken token;
    token.kind = kind;
    token.text = text;
    return token;
}

ExprToken MakeField(int field, const char* text)
{
    ExprToken token = MakeToken(kTokenField, text);
    token.field = field;
    return token;
}

ExprToken MakeBoolean(int boolean, const char* text)
{
    ExprToken token = MakeToken(kTokenBoolean, text);
    token.boolean = boolean;
    return token;
}

ExprToken MakeComparison(int comparison, const char* text)
{
    ExprToken token = MakeToken(kTokenComparison, text);
    token.comparison = comparison;
    return token;
}

// Without ":" or "/" a value is an age back from now: a number and a unit.
void ReadDate(ExprToken& token)
{
    const char* text = token.text;
    if (strpbrk(text, ":/"))
    {
        token.date.ParseDateTime(text);
        token.relative = false;
        return;
    }
    size_t split = strcspn(text, kAgeUnits);
    double amount = strtod(CString(text, static_cast<int>(split)), nullptr);
    char unit = text[split] ? text[split] : 's';
    token.date = COleDateTime::GetCurrentTime();
    token.relative = true;
    for (const AgeUnit& age : kAgeUnitDays)
    {
        if (age.letter == unit)
            token.date -= COleDateTimeSpan(amount * age.days);
    }
}

// Typed numbers may be out of range, infinite or "nan": they saturate.
int TruncateToInt(double value)
{
    if (value != value)
        return 0;
    if (value >= INT_MAX)
        return INT_MAX;
    if (value <= INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

ExprToken MakeValue(const CString& text)
{
    ExprToken token = MakeToken(kTokenValue, text);
    token.number = TruncateToInt(strtod(text, nullptr));
    double seconds = static_cast<double>(strtol(text, nullptr, 10));
    int colon = text.Find(':');
    if (colon >= 0)
        seconds = seconds * 60 + static_cast<double>(strtol(static_cast<const char*>(text) + colon + 1, nullptr, 10));
    token.seconds = TruncateToInt(seconds);
    ReadDate(token);
    return token;
}

ExprToken MakeWord(const CString& word, const CString* ratingNames, int ratingCount)
{
    int field = FindFieldWord(word);
    if (field >= 0)
        return MakeField(field, word);
    for (int n = 0; n < ratingCount; ++n)
    {
        if (ratingNames[n] == word)
            return MakeField(kFieldRating + n, word);
    }
    return MakeValue(word);
}

bool ReadBoolean(const CString& word, ExprToken& token)
{
    for (const BooleanWord& entry : kBooleanWords)
    {
        if ((entry.start && word[0] == entry.start) || word == entry.word)
        {
            token = MakeBoolean(entry.boolean, word);
            return true;
        }
    }
    return false;
}

bool Tokenize(const char* text, const CString* ratingNames, int ratingCount, ExprTokens& tokens, CString& error)
{
    const char* at = text;
    for (;;)
    {
        while (*at == ' ')
            ++at;
        if (!*at)
            return true;
        if (*at == '(' || *at == ')')
        {
            tokens.push_back(MakeToken(*at == '(' ? kTokenOpen : kTokenClose, CString(*at)));
            ++at;
        }
        else if (*at == '"')
        {
            const char* close = strchr(at + 1, '"');
            if (!close)
            {
                error = "No matching closing quote found";
                return false;
            }
            tokens.push_back(MakeValue(CString(at + 1, static_cast<int>(close - at - 1))));
            at = close + 1;
        }
        else if (strchr(kComparisonChars, *at))
        {
            CString run(at, static_cast<int>(strspn(at, kComparisonChars)));
            const ComparisonWord* found = nullptr;
            for (const ComparisonWord& entry : kComparisonWords)
            {
                if (run == entry.text)
                    found = &entry;
            }
            if (!found)
            {
                error = Bracketed("Unknown comparison [%s]", run);
                return false;
            }
            tokens.push_back(MakeComparison(found->comparison, run));
            at += run.GetLength();
        }
        else if (*at == '!')
        {
            tokens.push_back(MakeBoolean(kOpNot, "!"));
            ++at;
        }
        else
        {
            CString word(at, static_cast<int>(strcspn(at, kWordEnds)));
            ExprToken token;
            if (!ReadBoolean(word, token))
            {
                word = word.Left(static_cast<int>(strcspn(word, kOperatorStarts)));
                token = MakeWord(word, ratingNames, ratingCount);
            }
            tokens.push_back(token);
            at += word.GetLength();
        }
    }
}

// Every operator and parenthesis may add a level to the tree. Checked before
// the tokens are rewritten, so that a huge text is refused at once.
bool IsNestedTooDeeply(const ExprTokens& tokens)
{
    int depth = 0;
    int booleans = 0;
    for (const ExprToken& token : tokens)
    {
        if (token.kind == kTokenOpen && ++depth > kMaxDepth)
            return true;
        if (token.kind == kTokenClose)
            --depth;
        if (token.kind == kTokenBoolean && ++booleans > kMaxDepth)
            return true;
    }
    return false;
}

// A lone value searches the artist, title, album and keywords.
void ExpandLoneValue(ExprTokens& tokens)
{
    if (tokens.size() != 1 || tokens[0].kind != kTokenValue)
        return;
    ExprToken value = tokens[0];
    const int fields[] = {kFieldArtist, kFieldTitle, kFieldAlbum, kFieldKeyword};
    tokens.clear();
    tokens.push_back(MakeToken(kTokenOpen, "("));
    for (int field : fields)
    {
        if (field != fields[0])
            tokens.push_back(MakeBoolean(kOpOr, "|"));
        tokens.push_back(MakeField(field, GetFieldWord(field)));
    }
    tokens.push_back(MakeToken(kTokenClose, ")"));
    tokens.push_back(MakeComparison(kCompareContains, "="));
    tokens.push_back(value);
}

// The start of the operand that ends at 'last': a field, or a whole group.
int FindLeftOperand(const ExprTokens& tokens, int last)
{
    int depth = 0;
    for (int j = last; j >= 0; --j)
    {
        int kind = tokens[j].kind;
        if (kind == kTokenClose)
            ++depth;
        else if (kind == kTokenOpen && --depth < 0)
            return -1;
        if (depth == 0 && (kind == kTokenField || kind == kTokenOpen))
            return j;
    }
    return -1;
}

// The end of the operand that starts at 'first': a value, or a whole group.
int FindRightOperand(const ExprTokens& tokens, int first)
{
    int depth = 0;
    for (int j = first; j < static_cast<int>(tokens.size()); ++j)
    {
        int kind = tokens[j].kind;
        if (kind == kTokenOpen)
            ++depth;
        else if (kind == kTokenClose && --depth <= 0)
            return depth == 0 ? j : -1;
        else if (depth == 0 && kind == kTokenValue)
            return j;
    }
    return -1;
}

// False, with nothing replaced, when the result would hold too many tokens.
bool Replace(ExprTokens& tokens, int first, int last, const ExprTokens& with, CString& error)
{
    if (tokens.size() - (last + 1 - first) + with.size() > kMaxTokens)
    {
        error = kTooComplex;
        return false;
    }
    tokens.erase(tokens.begin() + first, tokens.begin() + last + 1);
    tokens.insert(tokens.begin() + first, with.begin(), with.end());
    return true;
}

// "(artist | title) = x" becomes "(artist = x | title = x)".
bool DistributeFields(ExprTokens& tokens, CString& error)
{
    for (int i = 0; i < static_cast<int>(tokens.size()); ++i)
    {
        if (tokens[i].kind != kTokenComparison)
            continue;
        int right = FindRightOperand(tokens, i + 1);
        if (right < 0)
        {
            error = "Missing operand";
            return false;
        }
        int left = FindLeftOperand(tokens, i - 1);
        if (left < 0 || tokens[left].kind != kTokenOpen)
            continue;
        ExprTokens group;
        for (int j = left; j < i && group.size() <= kMaxTokens; ++j)
        {
            group.push_back(tokens[j]);
            if (tokens[j].kind == kTokenField)
                group.insert(group.end(), tokens.begin() + i, tokens.begin() + right + 1);
        }
        if (!Replace(tokens, left, right, group, error))
            return false;
        i = left + static_cast<int>(group.size()) - 1;
    }
    return true;
}

// "title = (x | y)" becomes "(title = x | title = y)".
bool DistributeValues(ExprTokens& tokens, CString& error)
{
    for (int i = 0; i < static_cast<int>(tokens.size()); ++i)
    {
        if (tokens[i].kind != kTokenComparison || i + 1 >= static_cast<int>(tokens.size()) ||
            tokens[i + 1].kind != kTokenOpen)
            continue;
        int right = FindRightOperand(tokens, i + 1);
        int left = FindLeftOperand(tokens, i - 1);
        if (left < 0 || right < 0)
            continue;
        ExprTokens group;
        for (int j = i + 1; j <= right && group.size() <= kMaxTokens; ++j)
        {
            if (tokens[j].kind == kTokenValue)
                group.insert(group.end(), tokens.begin() + left, tokens.begin() + i + 1);
            group.push_back(tokens[j]);
        }
        if (!Replace(tokens, left, right, group, error))
            return false;
        i = left + static_cast<int>(group.size()) - 1;
    }
    return true;
}

// Puts each operator of one kind in parentheses with its operands.
bool AddPrecedence(ExprTokens& tokens, int boolean, CString& error)
{
    for (int i = 0; i < static_cast<int>(tokens.size()); ++i)
    {
        if (tokens[i].kind != kTokenBoolean || tokens[i].boolean != boolean)
            continue;
        int right = FindRightOperand(tokens, i + 1);
        if (right < 0)
        {
            error = kMissingOperand[boolean];
            return false;
        }
        int left = boolean == kOpNot ? i : FindLeftOperand(tokens, i - 1);
        if (left < 0)
            continue;
        tokens.insert(tokens.begin() + right + 1, MakeToken(kTokenClose, ")"));
        tokens.insert(tokens.begin() + left, MakeToken(kTokenOpen, "("));
        ++i;
    }
    return true;
}

bool AddPrecedence(ExprTokens& tokens, CString& error)
{
    const int order[] = {kOpNot, kOpAnd, kOpOr, kOpXor};
    for (int boolean : order)
    {
        if (!AddPrecedence(tokens, boolean, error))
            return false;
    }
    return true;
}

// A term: the field at pos, a comparison and a value.
bool BuildTerm(const ExprTokens& tokens, size_t& pos, std::unique_ptr<CExprTerm>& term, CString& error)
{
    if (pos + 1 >= tokens.size() || tokens[pos + 1].kind != kTokenComparison)
    {
        error = "Comparison operator expected";
        return false;
    }
    if (pos + 2 >= tokens.size() || tokens[pos + 2].kind != kTokenValue)
    {
        error = "Value expected";
        return false;
    }
    term.reset(new CExprTerm(tokens[pos], tokens[pos + 1], tokens[pos + 2]));
    pos += 3;
    return true;
}

} // namespace

CExpr::CExpr() : m_operator(kOpNone)
{
}

CExpr::~CExpr()
{
}

void CExpr::Clear()
{
    m_operator = kOpNone;
    m_first.reset();
    m_second.reset();
    m_firstTerm.reset();
    m_secondTerm.reset();
}

int CExpr::Parse(const char* text, const CString* ratingNames, int ratingCount)
{
    Clear();
    m_error.Empty();
    ExprTokens tokens;
    CString error;
    bool parsed = Tokenize(text, ratingNames, ratingCount, tokens, error);
    if (parsed && IsNestedTooDeeply(tokens))
    {
        error = kNestedTooDeeply;
        parsed = false;
    }
    if (parsed)
    {
        ExpandLoneValue(tokens);
        parsed = DistributeFields(tokens, error);
    }
    parsed = parsed && DistributeValues(tokens, error) && AddPrecedence(tokens, error);
    size_t pos = 0;
    parsed = parsed && BuildTree(tokens, pos, 0, error);
    if (parsed && pos < tokens.size())
    {
        error = kUnmatchedParentheses;
        parsed = false;
    }
    if (parsed)
        return 1;
    m_error = error;
    if (m_showErrors)
        AfxMessageBox(m_error, MB_OK);
    return 0;
}

bool CExpr::BuildTree(const ExprTokens& tokens, size_t& pos, int depth, CString& error)
{
    if (depth > kMaxDepth)
    {
        error = kNestedTooDeeply;
        return false;
    }
    if (pos < tokens.size() && tokens[pos].kind == kTokenBoolean && tokens[pos].boolean == kOpNot)
    {
        // The NOT's operand ends with the group that the NOT opened.
        m_operator = kOpNot;
        m_first.reset(new CExpr);
        return m_first->BuildTree(tokens, ++pos, depth + 1, error);
    }
    if (!BuildOperand(tokens, pos, depth, false, m_firstTerm, m_first, error))
        return false;
    if (pos >= tokens.size())
        return true;
    const ExprToken& next = tokens[pos];
    switch (next.kind)
    {
    case kTokenBoolean:
        if (next.boolean == kOpNot)
        {
            error = Bracketed("Boolean operator [%s] does not have a left-hand operand", next.text);
            return false;
        }
        m_operator = next.boolean;
        ++pos;
        if (!BuildOperand(tokens, pos, depth, true, m_secondTerm, m_second, error))
            return false;
        if (pos < tokens.size() && tokens[pos].kind == kTokenClose)
            ++pos;
        return true;
    case kTokenComparison:
        error = Bracketed("Comparison operator [%s] unexpected", next.text);
        return false;
    case kTokenField:
        error = Bracketed("Field [%s] unexpected", next.text);
        return false;
    case kTokenValue:
        error = Bracketed("Value [%s] unexpected", next.text);
        return false;
    case kTokenOpen:
        error = "Opening parenthesis illegal immediately after operand";
        return false;
    default:
        // A closing parenthesis at the top has no opening one.
        if (depth == 0)
        {
            error = kUnmatchedParentheses;
            return false;
        }
        ++pos;
        return true;
    }
}

// One operand: a term or a group, the first of a node or the second after its
// boolean operator.
bool CExpr::BuildOperand(const ExprTokens& tokens, size_t& pos, int depth, bool second,
                         std::unique_ptr<CExprTerm>& term, std::unique_ptr<CExpr>& group, CString& error)
{
    if (pos >= tokens.size())
    {
        error = kUnexpectedEnd;
        return false;
    }
    const ExprToken& token = tokens[pos];
    switch (token.kind)
    {
    case kTokenBoolean:
        error = Bracketed(second ? "Boolean operator [%s] not allowed to follow directly after another boolean operator"
                                 : "Boolean operator [%s] requires a left-hand operand",
                          token.text);
        return false;
    case kTokenComparison:
        error = Bracketed("Comparison operator [%s] unexpected", token.text);
        return false;
    case kTokenField:
        return BuildTerm(tokens, pos, term, error);
    case kTokenValue:
        error = Bracketed("Value [%s] unexpected", token.text);
        return false;
    case kTokenOpen:
        group.reset(new CExpr);
        return group->BuildTree(tokens, ++pos, depth + 1, error);
    case kTokenClose:
        error = kUnmatchedParentheses;
        return false;
    default:
        error = "Internal error: Unknown token type";
        return false;
    }
}

bool CExpr::EvaluateFirst(const AlbumRecord& album, int track) const
{
    if (m_firstTerm)
        return m_firstTerm->Evaluate(album, track);
    return m_first && m_first->Evaluate(album, track);
}

bool CExpr::EvaluateSecond(const AlbumRecord& album, int track) const
{
    if (m_secondTerm)
        return m_secondTerm->Evaluate(album, track);
    return m_second && m_second->Evaluate(album, track);
}

int CExpr::Evaluate(const AlbumRecord& album, int track) const
{
    switch (m_operator)
    {
    case kOpNot:
        return !EvaluateFirst(album, track);
    case kOpAnd:
        return HasSecond() && EvaluateFirst(album, track) && EvaluateSecond(album, track);
    case kOpOr:
        return HasSecond() && (EvaluateFirst(album, track) || EvaluateSecond(album, track));
    case kOpXor:
        return HasSecond() && (EvaluateFirst(album, track) != EvaluateSecond(album, track));
    default:
        return EvaluateFirst(album, track);
    }
}

CString CExpr::DumpFirst() const
{
    return m_firstTerm ? m_firstTerm->Format() : m_first ? m_first->Dump() : CString();
}

CString CExpr::DumpSecond() const
{
    return m_secondTerm ? m_secondTerm->Format() : m_second ? m_second->Dump() : CString();
}

CString CExpr::Dump() const
{
    const char* const operatorTexts[] = {" & ", " | ", " ^ "};
    switch (m_operator)
    {
    case kOpNot:
        return "!(" + DumpFirst() + ")";
    case kOpAnd:
    case kOpOr:
    case kOpXor:
        return "(" + DumpFirst() + operatorTexts[m_operator] + DumpSecond() + ")";
    default:
        return DumpFirst();
    }
}

void CExpr::DumpTokens(const ExprTokens& tokens)
{
    const char kKindLetters[] = "B=FV()";
    CString letters;
    for (const ExprToken& token : tokens)
        letters += kKindLetters[token.kind];
    AfxMessageBox(letters, MB_OK);
}
