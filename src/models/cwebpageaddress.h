#pragma once

#include <QString>

namespace kd_app {
namespace models {

// The address of one of the server's web pages for the signed-in account.
struct CWebPageAddress
{
    QString overrideAddress; // from "app-config.ini"; used as it is when set
    QString serverType;      // the account's server type: only "CCM" has pages
    QString urlSuffix;       // the server's folder of the pages ("/portal/")
    bool https = false;
    QString host;
    int port = 0;
    QString pageName; // "conferences", "confControl", "contact"
    QString token;
    QString meetingNumber; // empty outside a call

    // "scheme://host:port{suffix}{page}?token=...&numericId=..." with the
    // query values percent-encoded; the override unchanged; empty when the
    // account's server has no pages.
    QString compose() const;
    // Whether compose gives an address at all.
    bool exists() const;
};

} // namespace models
} // namespace kd_app
