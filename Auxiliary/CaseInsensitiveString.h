#pragma once

#include <QHashFunctions>
#include <QString>

#include <functional>

// A text that compares and hashes without regard to letter case (full Unicode case folding).
class CaseInsensitiveString {
public:
    CaseInsensitiveString() = default;
    CaseInsensitiveString(QString value) : value_(std::move(value)), folded_(value_.toCaseFolded()) {}
    CaseInsensitiveString(const char* literal) : CaseInsensitiveString(QString::fromUtf8(literal)) {}

    const QString& description() const { return value_; }
    const QString& folded() const { return folded_; }

    friend bool operator==(const CaseInsensitiveString& a, const CaseInsensitiveString& b) { return a.folded_ == b.folded_; }

private:
    QString value_;
    QString folded_;
};

inline size_t qHash(const CaseInsensitiveString& value, size_t seed = 0) noexcept
{
    return qHash(value.folded(), seed);
}

template <>
struct std::hash<CaseInsensitiveString> {
    size_t operator()(const CaseInsensitiveString& value) const noexcept { return qHash(value.folded()); }
};
