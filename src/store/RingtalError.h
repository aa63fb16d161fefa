#pragma once

#include <QString>
#include <exception>

// The one error type of the program: a number and a German description, shown
// by the error box as "Fehler: <number> - <description>". Numbers follow the
// classic run-time and database-engine numbering so that users and support
// recognise them.
class RingtalError : public std::exception
{
public:
    RingtalError(int number, QString description);

    int number() const { return m_number; }
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};

// Error numbers used by the program.
namespace ErrorNumber {
// Run-time errors.
constexpr int InvalidProcedureCall = 5;
constexpr int Overflow = 6;
constexpr int SubscriptOutOfRange = 9;
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
constexpr int PathFileAccess = 75;
constexpr int InvalidFileFormat = 321;
constexpr int InvalidPropertyValue = 380;
constexpr int PrinterError = 482;
// Database engine errors.
constexpr int UpdateWithoutAddNewOrEdit = 3020;
constexpr int NoCurrentRecord = 3021;
constexpr int DuplicateKey = 3022;
constexpr int DatabaseFileNotFound = 3024;
constexpr int ReadOnly = 3027;
constexpr int PasswordRequired = 3029;
constexpr int CannotOpenFile = 3051;
constexpr int ServerUnreachable = 3151;
constexpr int RelatedRecordRequired = 3201;
constexpr int SyntaxInExpression = 3077;
constexpr int TableNotFound = 3078;
constexpr int FieldTooSmall = 3163;
constexpr int RecordDeleted = 3167;
constexpr int RecordChangedElsewhere = 3197;
constexpr int ItemNotFound = 3265;
constexpr int DatabaseLocked = 3260;
constexpr int FieldRequired = 3314;
constexpr int ValidationRule = 3317;
constexpr int UnrecognizedFormat = 3343;
constexpr int NumericOverflow = 3349;
constexpr int ConversionError = 3421;
constexpr int EngineFailure = 3000;
} // namespace ErrorNumber
