// COBOL colouring and its word lists.
#include "fountain/COBOLFountain.h"

namespace nuv {

namespace {
constexpr std::string_view kVerbs[] = {
    "ACCEPT", "ADD", "ALTER", "CALL", "CANCEL", "CLOSE", "COMMIT", "COMPUTE", "CONNECT", "CONTINUE", "COPY",
    "DELETE", "DISABLE", "DISCONNECT", "DISPLAY", "DIVIDE", "ENABLE", "END-ACCEPT", "END-ADD", "END-CALL",
    "END-COMPUTE", "END-DELETE", "END-DISPLAY", "END-DIVIDE", "END-EVALUATE", "END-EXEC", "END-IF", "END-INVOKE",
    "END-MULTIPLY", "END-OF-PAGE", "END-PERFORM", "END-READ", "END-RECEIVE", "END-RETURN", "END-REWRITE",
    "END-SEARCH", "END-START", "END-STRING", "END-SUBTRACT", "END-UNSTRING", "END-WRITE", "ENTER", "ENTRY", "ERASE",
    "EVALUATE", "EXAMINE", "EXIT", "FETCH", "FIND", "GENERATE", "GET", "GO", "GOBACK", "IF", "INCLUDE", "INITIALIZE",
    "INITIATE", "INSPECT", "INVOKE", "MERGE", "MODIFY", "MOVE", "MULTIPLY", "NOTE", "OPEN", "PERFORM", "READ",
    "RECEIVE", "RECONNECT", "RELEASE", "RETURN", "REWRITE", "ROLLBACK", "SEARCH", "SELECT", "SEND", "SET", "SORT",
    "START", "STOP", "STORE", "STRING", "SUBTRACT", "SUPPRESS", "TERMINATE", "TRANSCEIVE", "UNLOCK", "UNSTRING",
    "USE", "WAIT", "WRITE"};
constexpr std::string_view kReserved[] = {
    "ACCEPT", "ACCESS", "ACTUAL", "ADD", "ADDRESS", "ADVANCING", "AFTER", "ALL", "ALPHABET", "ALPHABETIC",
    "ALPHABETIC-LOWER", "ALPHABETIC-UPPER", "ALPHANUMERIC", "ALPHANUMERIC-EDITED", "ALSO", "ALTER", "ALTERNATE",
    "AND", "ANY", "APPLY", "ARE", "AREA", "AREAS", "AS", "ASCENDING", "ASSIGN", "AT", "AUTHOR", "AUTO", "AUTOMATIC",
    "BACKGROUND-COLOR", "BEFORE", "BEGINNING", "BELL", "BINARY", "BIT", "BITS", "BLANK", "BLINK", "BLOCK", "BOOLEAN",
    "BOTTOM", "BY", "CALL", "CANCEL", "CBL", "CD", "CF", "CH", "CHANGED", "CHARACTER", "CHARACTERS", "CLASS",
    "CLASS-ID", "CLOCK-UNITS", "CLOSE", "COBOL", "CODE", "CODE-SET", "COLLATING", "COLUMN", "COMMA", "COMMAND",
    "COMMIT", "COMMON", "COMMUNICATION", "COMP", "COMP-1", "COMP-2", "COMP-3", "COMP-4", "COMP-5", "COMPUTATIONAL",
    "COMPUTATIONAL-1", "COMPUTATIONAL-2", "COMPUTATIONAL-3", "COMPUTATIONAL-4", "COMPUTATIONAL-5", "COMPUTE",
    "COM-REG", "CONFIGURATION", "CONNECT", "CONTAINS", "CONTENT", "CONTINUE", "CONTROL", "CONTROLS", "CONVERTING",
    "COPY", "CORE-INDEX", "CORR", "CORRESPONDING", "COUNT", "CRT", "CRT-UNDER", "CURRENCY", "CURRENT", "CURSOR",
    "DATA", "DATE", "DATE-COMPILED", "DATE-WRITTEN", "DAY", "DAY-OF-WEEK", "DB", "DE", "DEBUG-CONTENTS", "DEBUGGING",
    "DEBUG-ITEM", "DEBUG-LINE", "DEBUG-NAME", "DEBUG-SUB-1", "DEBUG-SUB-2", "DEBUG-SUB-3", "DECIMAL-POINT",
    "DECLARATIVES", "DELETE", "DELIMITED", "DELIMITER", "DEPENDING", "DESCENDING", "DESTINATION", "DETAIL",
    "DISABLE", "DISCONNECT", "DISPLAY", "DIVIDE", "DIVISION", "DOWN", "DUPLICATE", "DUPLICATES", "DYNAMIC", "EGI",
    "EJECT", "ELSE", "EMI", "EMPTY", "ENABLE", "END", "END-ACCEPT", "END-ADD", "END-CALL", "END-COMPUTE",
    "END-DELETE", "END-DISPLAY", "END-DIVIDE", "END-EVALUATE", "END-EXEC", "END-IF", "ENDING", "END-INVOKE",
    "END-MULTIPLY", "END-OF-PAGE", "END-PERFORM", "END-READ", "END-RECEIVE", "END-RETURN", "END-REWRITE",
    "END-SEARCH", "END-START", "END-STRING", "END-SUBTRACT", "END-UNSTRING", "END-WRITE", "ENTER", "ENTRY",
    "ENVIRONMENT", "EOL", "EOP", "EOS", "EQUAL", "EQUALS", "ERASE", "ERROR", "ESI", "EVALUATE", "EVERY", "EXAMINE",
    "EXCEEDS", "EXCEPTION", "EXCLUSIVE", "EXEC", "EXIT", "EXOR", "EXTEND", "EXTERNAL", "FALSE", "FD", "FETCH",
    "FILE", "FILE-CONTROL", "FILE-LIMIT", "FILE-LIMITS", "FILLER", "FINAL", "FIND", "FIRST", "FOOTING", "FOR",
    "FOREGROUND-COLOR", "FORMAT", "FREE", "FROM", "FULL", "FUNCTION", "GENERATE", "GET", "GIVING", "GLOBAL", "GO",
    "GOBACK", "GREATER", "GRID", "GROUP", "HEADING", "HIGHLIGHT", "HIGH-VALUE", "HIGH-VALUES", "ID",
    "IDENTIFICATION", "IF", "IN", "INCLUDE", "INDEX", "INDEXED", "INDICATE", "INHERITS", "INITIAL", "INITIALIZE",
    "INITIATE", "INPUT", "INPUT-OUTPUT", "INSPECT", "INSTALLATION", "INTO", "INVALID", "INVARIANT", "INVOKE", "I-O",
    "I-O-CONTROL", "IS", "JUST", "JUSTIFIED", "KEY", "LABEL", "LAST", "LEADING", "LEFT", "LEFT-JUSTIFY", "LEFTLINE",
    "LENGTH", "LESS", "LIMIT", "LIMITS", "LINAGE", "LINAGE-COUNTER", "LINE", "LINE-COUNTER", "LINES", "LINKAGE",
    "LOCK", "LOWLIGHT", "LOW-VALUE", "LOW-VALUES", "MANUAL", "MEMBER", "MEMORY", "MERGE", "MESSAGE", "METHOD",
    "METHOD-ID", "MODE", "MODIFY", "MODULES", "MORE-LABELS", "MOVE", "MULTIPLE", "MULTIPLY", "NAMED", "NATIONAL",
    "NATIONAL-EDITED", "NATIVE", "NEGATIVE", "NEXT", "NO", "NOMINAL", "NOT", "NOTE", "NULL", "NULLS", "NUMBER",
    "NUMERIC", "NUMERIC-EDITED", "OBJECT", "OBJECT-COMPUTER", "OCCURS", "OF", "OFF", "OMITTED", "ON", "ONLY", "OPEN",
    "OPTIONAL", "OR", "ORDER", "ORGANIZATION", "OTHER", "OTHERWISE", "OUTPUT", "OVERFLOW", "OVERLINE", "OWNER",
    "PACKED-DECIMAL", "PADDING", "PAGE", "PAGE-COUNTER", "PASSWORD", "PERFORM", "PF", "PH", "PIC", "PICTURE", "PLUS",
    "POINTER", "POSITION", "POSITIONING", "POSITIVE", "PREVIOUS", "PRINTING", "PRIOR", "PROCEDURE", "PROCEDURES",
    "PROCEED", "PROCESSING", "PROGRAM", "PROGRAM-ID", "PROMPT", "PROPERTY", "PROTOTYPE", "PURGE", "QUEUE", "QUOTE",
    "QUOTES", "RANDOM", "RD", "READ", "READY", "RECEIVE", "RECONNECT", "RECORD", "RECORDING", "RECORD-OVERFLOW",
    "RECORDS", "REDEFINES", "REEL", "REFERENCE", "REFERENCES", "RELATIVE", "RELEASE", "RELOAD", "REMAINDER",
    "REMARKS", "REMOVAL", "RENAMES", "REORG-CRITERIA", "REPLACE", "REPLACING", "REPORT", "REPORTING", "REPORTS",
    "REPOSITORY", "REQUIRED", "RERUN", "RESERVE", "RESET", "RETAINING", "RETURN", "RETURN-CODE", "RETURNING",
    "REVERSED", "REVERSE-VIDEO", "REWIND", "REWRITE", "RF", "RH", "RIGHT", "RIGHT-JUSTIFY", "ROLLBACK", "ROUNDED",
    "RUN", "SA", "SAME", "SCREEN", "SD", "SEARCH", "SECTION", "SECURE", "SECURITY", "SEEK", "SEGMENT",
    "SEGMENT-LIMIT", "SELECT", "SELF", "SEND", "SENTENCE", "SEPARATE", "SEQUENCE", "SEQUENTIAL", "SERVICE", "SET",
    "SIGN", "SIZE", "SKIP1", "SKIP2", "SKIP3", "SORT", "SORT-CORE-SIZE", "SORT-FILE-SIZE", "SORT-MERGE",
    "SORT-MESSAGE", "SORT-MODE-SIZE", "SORT-RETURN", "SOURCE", "SOURCE-COMPUTER", "SPACE", "SPACE-FILL", "SPACES",
    "SPECIAL-NAMES", "STANDARD", "STANDARD-1", "STANDARD-2", "START", "STATUS", "STOP", "STORE", "STRING",
    "SUB-QUEUE-1", "SUB-QUEUE-2", "SUB-QUEUE-3", "SUBTRACT", "SUM", "SUPER", "SUPPRESS", "SYMBOLIC", "SYNC",
    "SYNCHRONIZED", "TABLE", "TALLY", "TALLYING", "TAPE", "TERMINAL", "TERMINATE", "TEST", "TEXT", "THAN", "THEN",
    "THROUGH", "THRU", "TIME", "TIMES", "TO", "TOP", "TRACE", "TRACK", "TRACK-AREA", "TRACK-LIMIT", "TRACKS",
    "TRAILING", "TRAILING-SIGN", "TRANSACTION", "TRANSCEIVE", "TRUE", "TYPE", "UNDERLINE", "UNEQUAL", "UNIT",
    "UNIVERSAL", "UNLOCK", "UNSTRING", "UNTIL", "UP", "UPDATE", "UPON", "USAGE", "USE", "USING", "VALUE", "VALUES",
    "VARYING", "WAIT", "WHEN", "WHEN-COMPILED", "WITH", "WITHIN", "WORDS", "WORKING-STORAGE", "WRITE", "WRITE-ONLY",
    "ZERO", "ZEROES", "ZERO-FILL", "ZEROS"};
}  // namespace

TCOBOLFountain::TCOBOLFountain() {
  WireColors({&Ank, &Comment, &DBCS, &Int, &Sequence, &Str, &Symbol, &Verb});
  for (std::string_view e : {".cbl", ".cob"}) AddFileExt(e);
  for (std::string_view w : kReserved) AddReserveWords({w});
  for (std::string_view w : kVerbs) m_verbList.Add(w);
}

void TCOBOLFountain::SetVerbList(const TSortedWordList& list) {
  m_verbList = list;
  NotifyChanged();
}

void TCOBOLFountain::VisitOwnColors(const TFountainColorVisitor& visit) {
  visit("Ank", Ank);
  visit("Comment", Comment);
  visit("DBCS", DBCS);
  visit("Int", Int);
  visit("Sequence", Sequence);
  visit("Str", Str);
  visit("Symbol", Symbol);
  visit("Verb", Verb);
}

std::unique_ptr<TFountainParser> TCOBOLFountain::NewParser() { return std::make_unique<TCOBOLFountainParser>(this); }

TCOBOLFountainParser::TCOBOLFountainParser(TCOBOLFountain* fountain) : TFountainParser(fountain), m_cobol(*fountain) {
  SetMethod('"', &TCOBOLFountainParser::DoubleQuotationProc);
  SetMethod('\'', &TCOBOLFountainParser::SingleQuotationProc);
  SetMethod('*', &TCOBOLFountainParser::StarProc);
  SetMethod('_', &TCOBOLFountainParser::SymbolProc);
  SetTokenMethod(tokSequence, &TCOBOLFountainParser::SequenceProc);
}

void TCOBOLFountainParser::IntegerProc() {
  if (m_pos < kIndicatorColumn) {
    SequenceProc();
  } else {
    TFountainParser::IntegerProc();
  }
}

void TCOBOLFountainParser::SequenceProc() {
  // Whole characters only: a double-byte character that starts in the area
  // belongs to it.
  m_token = tokSequence;
  while (m_pos < kIndicatorColumn && !AtEnd(m_pos)) m_pos += CharLen(m_pos);
}

void TCOBOLFountainParser::AnkProc() {
  m_token = tokAnk;
  while (IsWordByte(At(m_pos)) || At(m_pos) == '-') {
    if (At(m_pos) == '_') break;
    ++m_pos;
  }
}

void TCOBOLFountainParser::StarProc() {
  if (m_pos == kIndicatorColumn || At(m_pos + 1) == '>') {
    CommenterProc();
  } else {
    SymbolProc();
  }
}

const TFountainColor* TCOBOLFountainParser::TokenToFountainColor() const {
  if (IsReserveWord()) {
    return m_cobol.VerbList().Contains(TokenView()) ? &m_cobol.Verb : &m_cobol.Reserve();
  }
  if (m_token == tokSequence) return &m_cobol.Sequence;
  return CommonColor({&m_cobol.Ank, &m_cobol.Comment, &m_cobol.DBCS, &m_cobol.Int, &m_cobol.Str, &m_cobol.Symbol});
}

std::string TCOBOLFountainParser::KindName(std::uint8_t kind) const {
  return KindNameFrom(kind, {{tokSequence, "Sequence"}});
}

}  // namespace nuv
