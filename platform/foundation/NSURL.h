#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/runtime/NSObject.h"

// A URL reference as RFC 3986 shapes it: absolute ("https://host/path") or relative ("foo/bar",
// "?q"). Parts that the string lacks are nil (an empty optional); parts that are present but empty
// ("http://host/?") are empty strings. The string a URL was made from is kept as given.
class NSURL : public NSObject {
public:
    // Nothing for a string that is not a URL reference: empty, characters outside RFC 3986, a '%'
    // without two hex digits, a bad scheme or port, brackets anywhere but around an IP literal.
    static std::shared_ptr<NSURL> URLWithString(std::string_view string);
    // "file://" and the percent-encoded absolute path; a relative path is taken from "/". A path
    // naming a folder under the device root gets a trailing slash, as the platform does.
    static std::shared_ptr<NSURL> fileURLWithPath(std::string_view path);

    std::shared_ptr<NSURL> URLByAppendingPathComponent(std::string_view component) const;
    std::shared_ptr<NSURL> URLByDeletingLastPathComponent() const;

    const std::optional<std::string>& scheme() const { return m_scheme; }
    // Decoded; "[::1]" gives "::1". Nil when there is no authority or its host is empty.
    std::optional<std::string> host() const;
    std::optional<int> port() const { return m_port; }
    std::optional<std::string> user() const;
    std::optional<std::string> password() const;
    // Decoded, without a trailing slash (except the root "/").
    std::string path() const;
    const std::optional<std::string>& query() const { return m_query; }
    const std::optional<std::string>& fragment() const { return m_fragment; }
    const std::string& absoluteString() const { return m_string; }
    std::string lastPathComponent() const;
    std::string pathExtension() const;
    bool isFileURL() const;

    // Two URLs are equal when their strings are.
    bool isEqual(const std::shared_ptr<NSURL>& other) const { return other && *this == *other; }
    friend bool operator==(const NSURL& lhs, const NSURL& rhs) { return lhs.m_string == rhs.m_string; }

private:
    NSURL() = default;
    static std::shared_ptr<NSURL> make() { return std::shared_ptr<NSURL>(new NSURL()); }
    // The same URL with another (still encoded) path.
    std::shared_ptr<NSURL> withEncodedPath(std::string encodedPath) const;

    std::string m_string;
    std::optional<std::string> m_scheme;
    std::optional<std::string> m_authority; // as written, encoded
    std::optional<std::string> m_userInfo;  // encoded
    std::string m_host;                     // encoded, brackets kept
    std::optional<int> m_port;
    std::string m_path; // encoded
    std::optional<std::string> m_query;
    std::optional<std::string> m_fragment;
};
