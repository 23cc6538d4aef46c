// A search expression: a line such as "artist = beatles & timeadded < 2w"
// read into a tree of boolean operators over comparisons, and evaluated on one
// album or one track of an album.
//
// NOT binds tightest, then AND, then OR, and XOR loosest; operators of one
// kind group from left to right.
#pragma once

#include "library/search/ExprTerm.h"

#include <memory>

class CExpr
{
public:
    CExpr();
    virtual ~CExpr();
    CExpr(const CExpr&) = delete;
    CExpr& operator=(const CExpr&) = delete;

    // The text is expected in lower case; the rating names are the library's.
    // 1 on success; 0 with the error text set and, unless errors are kept
    // quiet, shown to the user.
    int Parse(const char* text, const CString* ratingNames, int ratingCount);
    // For callers that report the error text themselves (remote commands).
    void ShowErrors(bool show) { m_showErrors = show; }
    // Whether the expression holds for the track, or for the album with -1.
    int Evaluate(const AlbumRecord& album, int track) const;
    void Clear();

    const CString& GetError() const { return m_error; }
    // The tree with every group in parentheses ("(a = 1 | (b = 2 & c = 3))").
    CString Dump() const;
    // Shows the kinds of the tokens, one letter each, in a message box.
    static void DumpTokens(const ExprTokens& tokens);

private:
    bool BuildTree(const ExprTokens& tokens, size_t& pos, int depth, CString& error);
    bool BuildOperand(const ExprTokens& tokens, size_t& pos, int depth, bool second,
                      std::unique_ptr<CExprTerm>& term, std::unique_ptr<CExpr>& group, CString& error);
    bool EvaluateFirst(const AlbumRecord& album, int track) const;
    bool EvaluateSecond(const AlbumRecord& album, int track) const;
    bool HasSecond() const { return m_secondTerm || m_second; }
    CString DumpFirst() const;
    CString DumpSecond() const;

    int m_operator;
    std::unique_ptr<CExpr> m_first;
    std::unique_ptr<CExpr> m_second;
    std::unique_ptr<CExprTerm> m_firstTerm;
    std::unique_ptr<CExprTerm> m_secondTerm;
    CString m_error;
    bool m_showErrors = true;
};
