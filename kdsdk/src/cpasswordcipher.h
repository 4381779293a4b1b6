#pragma once

#include <string>

#include "engine/kdtypes.h"

namespace kd {
namespace sdk {

// How passwords travel to the engine and how the client stores them.
class CPasswordCipher
{
public:
    CPasswordCipher() = delete;

    // Types 0 and 1: the forms the sign-in accepts; unwrap gives the text back.
    static std::string wrapForTransport(int type, const std::string &text);
    static std::string unwrapTransport(const std::string &wrapped);
    // Type 2: stored passwords, keyed by the caller.
    static std::string encrypt(const std::string &text, const std::string &key, const std::string &iv);
    static std::string decrypt(const std::string &cipher, const std::string &key, const std::string &iv);
    // 0 when the password fits the policy, else the first rule it breaks.
    static int checkPolicy(const std::string &password, const kd::engine::KDPasswordPolicy &policy);
};

} // namespace sdk
} // namespace kd
