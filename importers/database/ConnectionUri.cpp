#include "importers/database/ConnectionUri.h"

#include <optional>

namespace importers {

namespace {

constexpr std::string_view kMask = "***";

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool endsWithPassword(std::string_view name) {
    constexpr std::string_view kPassword = "password";
    if (name.size() < kPassword.size())
        return false;
    name = name.substr(name.size() - kPassword.size());
    for (std::size_t i = 0; i < kPassword.size(); ++i) {
        char c = name[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != kPassword[i])
            return false;
    }
    return true;
}

// Records `secret` as written and decoded; returns the mask to show instead.
std::string_view keep(MaskedConnectionUri& result, std::string_view secret) {
    if (!secret.empty()) {
        result.secrets.emplace_back(secret);
        if (std::optional<std::string> decoded = percentDecoded(secret);
            decoded && !decoded->empty() && *decoded != secret)
            result.secrets.push_back(*decoded);
    }
    return kMask;
}

}  // namespace

// libpq refuses both a malformed escape and an escaped NUL.
std::optional<std::string> percentDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        const int high = i + 1 < text.size() ? hexValue(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? hexValue(text[i + 2]) : -1;
        if (high < 0 || low < 0 || (high == 0 && low == 0))
            return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

MaskedConnectionUri maskConnectionUri(std::string_view uri) {
    MaskedConnectionUri result;
    std::string& out = result.masked;
    std::size_t at = 0;
    const std::size_t scheme = uri.find("://");
    if (scheme != std::string_view::npos) {
        at = scheme + 3;
        out.append(uri.substr(0, at));
        // The user information ends at the last '@' before the path, so that
        // an unencoded '@' in a password never leaves part of it in sight.
        const std::size_t path = uri.find('/', at);
        const std::size_t userEnd = uri.substr(0, path).rfind('@');
        if (userEnd != std::string_view::npos && userEnd >= at) {
            std::string_view userInfo = uri.substr(at, userEnd - at);
            const std::size_t colon = userInfo.find(':');
            if (!percentDecoded(userInfo)) {
                // libpq would quote the malformed part; none of it is shown.
                out.append(keep(result, userInfo));
            } else if (colon != std::string_view::npos) {
                out.append(userInfo.substr(0, colon + 1));
                out.append(keep(result, userInfo.substr(colon + 1)));
            } else {
                out.append(userInfo);
            }
            out += '@';
            at = userEnd + 1;
        }
    }
    const std::size_t query = uri.find('?', at);
    out.append(
        uri.substr(at, query == std::string_view::npos ? std::string_view::npos : query - at));
    if (query == std::string_view::npos)
        return result;
    out += '?';
    for (std::size_t begin = query + 1; begin <= uri.size();) {
        std::size_t end = uri.find('&', begin);
        if (end == std::string_view::npos)
            end = uri.size();
        std::string_view parameter = uri.substr(begin, end - begin);
        const std::size_t equals = parameter.find('=');
        if (equals == std::string_view::npos) {
            out.append(parameter);
        } else {
            std::optional<std::string> name = percentDecoded(parameter.substr(0, equals));
            if (!name) {
                out.append(keep(result, parameter));
            } else {
                out.append(parameter.substr(0, equals + 1));
                if (endsWithPassword(*name))
                    out.append(keep(result, parameter.substr(equals + 1)));
                else
                    out.append(parameter.substr(equals + 1));
            }
        }
        if (end < uri.size())
            out += '&';
        begin = end + 1;
    }
    return result;
}

std::string hideConnectionSecrets(std::string message, const MaskedConnectionUri& uri) {
    for (const std::string& secret : uri.secrets) {
        for (std::size_t at = message.find(secret); at != std::string::npos;
             at = message.find(secret, at + kMask.size()))
            message.replace(at, secret.size(), kMask);
    }
    return message;
}

}  // namespace importers
