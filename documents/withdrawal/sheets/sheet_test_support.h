// Looking at what the sheets drew on the fake surface.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "documents/withdrawal/model/test_records.h"
#include "tests/fakes/fakes.h"

namespace lumaro::testing {

// Every text call whose text equals t (Windows-1252).
inline std::vector<DrawCall> textsEqual(const FakeSurface& s, const std::string& t) {
    std::vector<DrawCall> out;
    for (const DrawCall& c : s.calls) {
        if (c.kind == DrawCall::Text && c.text == t)
            out.push_back(c);
    }
    return out;
}

inline std::vector<DrawCall> textsStartingWith(const FakeSurface& s, const std::string& prefix) {
    std::vector<DrawCall> out;
    for (const DrawCall& c : s.calls) {
        if (c.kind == DrawCall::Text && c.text.rfind(prefix, 0) == 0)
            out.push_back(c);
    }
    return out;
}

inline int countKind(const FakeSurface& s, DrawCall::Kind kind) {
    int n = 0;
    for (const DrawCall& c : s.calls)
        n += c.kind == kind ? 1 : 0;
    return n;
}

// Index of the first call of the given kind, or calls.size().
inline std::size_t firstIndexOf(const FakeSurface& s, DrawCall::Kind kind) {
    for (std::size_t i = 0; i < s.calls.size(); ++i) {
        if (s.calls[i].kind == kind)
            return i;
    }
    return s.calls.size();
}

inline std::size_t indexOfText(const FakeSurface& s, const std::string& t, std::size_t from = 0) {
    for (std::size_t i = from; i < s.calls.size(); ++i) {
        if (s.calls[i].kind == DrawCall::Text && s.calls[i].text == t)
            return i;
    }
    return s.calls.size();
}

// A text long enough to wrap into many lines of short words.
inline std::string words(int count, const std::string& word = "Wort") {
    std::string s;
    for (int i = 0; i < count; ++i)
        s += (i ? " " : "") + word;
    return s;
}

// A record whose signature block starts at a height a test can steer with
// the number of treatments, of one-line monitoring texts and the length of
// the general message.
inline Rec steeredRecord(int treatments, int monitored, int messageWords, bool shortTitle) {
    Rec r;
    if (shortTitle)
        r.flags = {{"KurzeUeberschrift", "True"}};
    r.treatments.clear();
    for (int i = 0; i < treatments; ++i) {
        Beh b;
        if (i < monitored)
            b.monitoring = "Eutergesundheit";
        r.treatments.push_back(b);
    }
    r.nachricht = words(messageWords, "Nachricht");
    return r;
}

struct SignaturePlace {
    double naturalStart = 0;  // where the block would start: below the message
    double captionY = 0;
    int captionPage = 0, messagePage = 0;
};

// Where the first copy's vet signature stands, and where its block would have
// started: right below the last line of the general message before it.
inline SignaturePlace signaturePlace(const FakeSurface& s, double messageLineHeight) {
    const std::size_t caption = indexOfText(s, "Unterschrift Tierarzt");
    const DrawCall* message = nullptr;
    for (std::size_t i = 0; i < caption && i < s.calls.size(); ++i) {
        if (s.calls[i].kind == DrawCall::Text && s.calls[i].text.rfind("Nachricht", 0) == 0)
            message = &s.calls[i];
    }
    EXPECT_LT(caption, s.calls.size());
    EXPECT_NE(message, nullptr);
    if (message == nullptr || caption >= s.calls.size())
        return {};
    return {message->y + messageLineHeight, s.calls[caption].y, s.calls[caption].page,
            message->page};
}

}  // namespace lumaro::testing
