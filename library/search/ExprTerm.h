// One comparison of a search expression: a field of an album or track against
// a value typed by the user, and the tokens the expression text is read into.
#pragma once

#include "library/records/AlbumRecord.h"

#include <afx.h>
#include <afxdisp.h>

#include <vector>

enum ExprTokenKind
{
    kTokenBoolean = 0,
    kTokenComparison = 1,
    kTokenField = 2,
    kTokenValue = 3,
    kTokenOpen = 4,
    kTokenClose = 5,
};

enum ExprOperator
{
    kOpAnd = 0,
    kOpOr = 1,
    kOpXor = 2,
    kOpNot = 3,
    kOpNone = 4, // a plain operand
};

enum ExprComparison
{
    kCompareContains = 0, // "="
    kCompareLess = 1,     // "<"
    kCompareGreater = 2,  // ">"
    kCompareEqual = 3,    // "=="
};

enum ExprField
{
    kFieldTitle = 0,
    kFieldArtist,
    kFieldAlbum,
    kFieldKeyword,
    kFieldPlayer,
    kFieldLyrics,
    kFieldNotes,
    kFieldPlayTime,
    kFieldTimePlayed,
    kFieldTimesPlayed,
    kFieldTimeAdded,
    kFieldTimeLastPlayed,
    kFieldTimeReleased,
    kFieldMemo,
    kFieldRating = 1000, // + the rating's number
};

struct ExprToken
{
    ExprToken() : kind(kTokenValue), boolean(kOpNone), field(0), comparison(0), number(0), relative(false), seconds(0) {}

    int kind;
    int boolean;
    int field;
    int comparison;
    CString text; // as typed; a value without its quotes
    int number;   // the value as a decimal number, truncated
    COleDateTime date;
    bool relative; // the date is an age back from now ("2w")
    int seconds;   // the value as minutes:seconds
};

typedef std::vector<ExprToken> ExprTokens;

// The field number of a field word, or -1.
int FindFieldWord(const char* word);
// The long word of a field, or null for a rating field.
const char* GetFieldWord(int field);

class CExprTerm
{
public:
    CExprTerm(const ExprToken& field, const ExprToken& comparison, const ExprToken& value);

    bool Evaluate(const AlbumRecord& album, int track) const;
    // "field op value", as the expression's dump shows it.
    CString Format() const;

private:
    bool CompareText(const CString& text) const;
    bool CompareWords(const CString& text) const;
    bool CompareNumber(int number, int value) const;
    bool CompareDate(const COleDateTime& date) const;
    bool EitherText(const TrackRecord& album, const TrackRecord& record, CString TrackRecord::*text,
                    bool words) const;

    int m_field;
    CString m_fieldText;
    int m_comparison;
    int m_number;
    int m_seconds;
    CString m_value; // lower case
    int m_valueLength;
    COleDateTime m_date;
    bool m_relative;
};
