#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/NSError.h"
#include "platform/foundation/Value.h"

class NSURL;

// An immutable run of bytes.
class NSData {
public:
    NSData() = default;
    explicit NSData(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    explicit NSData(std::string_view text) : m_bytes(text.begin(), text.end()) {}

    static std::shared_ptr<NSData> dataWithBytes(const void* bytes, std::size_t length);
    // Nothing for a missing or unreadable file or a folder.
    static std::shared_ptr<NSData> dataWithContentsOfFile(std::string_view path, NSErrorPtr* error = nullptr);
    // The same, refusing (NSFileReadTooLargeError) a file longer than `maximumLength` before reading it.
    static std::shared_ptr<NSData> dataWithContentsOfFile(std::string_view path, std::size_t maximumLength,
                                                          NSErrorPtr* error = nullptr);
    // File URLs read the file; http and https URLs are fetched synchronously with the same rules as
    // NSURLSession (plain http only to loopback hosts, size cap, bounded redirects).
    static std::shared_ptr<NSData> dataWithContentsOfURL(const std::shared_ptr<NSURL>& url,
                                                         NSErrorPtr* error = nullptr);
    // The bytes of a data Value; nothing for a Value of another type.
    static std::shared_ptr<NSData> dataWithValue(const Value& value);

    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }
    std::size_t length() const { return m_bytes.size(); }
    // The bytes as text, unchanged (UTF-8 is the caller's assumption).
    std::string stringValue() const { return std::string(m_bytes.begin(), m_bytes.end()); }
    Value value() const { return Value(m_bytes); }

    // Atomically: a temporary file beside the target, renamed over it, so a reader sees the old
    // file or the new one and never half of one. Otherwise the target is truncated and written.
    bool writeToFile(std::string_view path, bool atomically, NSErrorPtr* error = nullptr) const;
    bool writeToURL(const std::shared_ptr<NSURL>& url, bool atomically, NSErrorPtr* error = nullptr) const;

    bool isEqualToData(const NSData& other) const { return m_bytes == other.m_bytes; }
    friend bool operator==(const NSData& lhs, const NSData& rhs) { return lhs.isEqualToData(rhs); }

private:
    std::vector<std::uint8_t> m_bytes;
};
