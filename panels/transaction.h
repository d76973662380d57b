// The command transaction that every panel button ends in: the command line is built in the
// CommandBuffer, echoed at the top of the panel's OutputLog, sent over the link and, for a query,
// answered by one line read into the ResponseBuffer.
#pragma once

#include <string>

#include "core/app_state.h"

// Characters accepted besides the decimal digits.
constexpr const char* NumberChars = "+-.Ee";
constexpr const char* ListChars = "+-.,Ee";
constexpr const char* AddressChars = ".";
constexpr const char* DigitChars = "";

// Why a line was not sent: the words that follow the refused bytes in the log (RefusalText).
constexpr const char* NonDigitReason = "set value contained a non digit character";
constexpr const char* TooLongReason = "value too long for one command line";

constexpr const char* SendingPrefix = "Sending command:  ";
constexpr const char* RefusedPrefix = "Could not send command:  ";
constexpr const char* EntrySeparator = "\r\n \r\n";
constexpr const char* NoResponseText = "No Response Read";

// True when every character of text is a digit or one of set's characters. Empty text is valid.
bool CheckNumericText(const char* text, const char* set);

// The text that stands for the ResponseBuffer: up to its first line feed, zero byte or 100th byte.
std::string AnswerText();

// Replaces the CommandBuffer's content with text; false (and nothing stored past the buffer)
// when it does not fit.
bool StoreCommand(const char* text);
// Appends text to the CommandBuffer as far as it fits; false when it did not all fit.
bool AppendCommand(const char* text);

void SendCommand(Panel panel);
void QueryCommand(Panel panel, bool lineFeedAfterAnswer = false);
// Logs the refusal and sets app.refused.
void RejectCommand(Panel panel, const char* reason);
// What a refusal's log entry shows after the refused bytes: the reason, and that nothing was sent.
inline std::string RefusalText(const char* reason)
{
    return std::string(", ") + reason + ". \r\n Command not sent";
}

// prefix, entry box text and a line feed, or a refusal. With quoted set, the prefix ends in its
// opening quote and a closing quote follows the text.
void SendValueCommand(Panel panel, const char* prefix, int entryId, const char* set,
                      bool quoted = false);

// The Command panel's free line: the operator's text with \n and \r escapes.
void SendFreeLine(Panel panel, int entryId);

// Reads one answer without sending anything and logs it.
void ReadAnswer(Panel panel);

// Empties the panel's log and its output box.
void ClearDisplay(Panel panel);

// Turns the operator's free-line text into command bytes; true when an escape ended the line.
bool ExpandEscapes(const char* text, std::string& bytes);
