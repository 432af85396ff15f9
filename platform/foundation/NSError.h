#pragma once

#include <cstdint>
#include <memory>
#include <string>

// What went wrong, as a value: errors are returned or handed back through an out-parameter, never
// thrown.
class NSError {
public:
    NSError(std::string domain, std::int64_t code, std::string localizedDescription)
        : m_domain(std::move(domain)), m_code(code), m_localizedDescription(std::move(localizedDescription)) {}

    static std::shared_ptr<NSError> errorWithDomain(std::string domain, std::int64_t code,
                                                    std::string localizedDescription) {
        return std::make_shared<NSError>(std::move(domain), code, std::move(localizedDescription));
    }

    const std::string& domain() const { return m_domain; }
    std::int64_t code() const { return m_code; }
    const std::string& localizedDescription() const { return m_localizedDescription; }
    // The form logs print: "Error Domain=<domain> Code=<code> \"<description>\"".
    std::string description() const {
        return "Error Domain=" + m_domain + " Code=" + std::to_string(m_code) + " \"" + m_localizedDescription +
               "\"";
    }

private:
    std::string m_domain;
    std::int64_t m_code;
    std::string m_localizedDescription;
};

using NSErrorPtr = std::shared_ptr<NSError>;

// Error domains used by the platform.
inline constexpr const char* NSCocoaErrorDomain = "NSCocoaErrorDomain";
inline constexpr const char* NSPOSIXErrorDomain = "NSPOSIXErrorDomain";
inline constexpr const char* NSURLErrorDomain = "NSURLErrorDomain";

// Hands an error back through an optional out-parameter.
inline void reportError(NSErrorPtr* out, std::string domain, std::int64_t code, std::string description) {
    if (out)
        *out = NSError::errorWithDomain(std::move(domain), code, std::move(description));
}
