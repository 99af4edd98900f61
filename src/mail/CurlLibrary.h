#pragma once

#include <QString>

#include <curl/curl.h>

namespace tav::mail {

// libcurl, opened the first time a message is sent. Linked to the program,
// it and the libraries it brings (TLS, Kerberos, LDAP…) would be loaded and
// initialised at every start for a command most sessions never use.
struct CurlLibrary
{
    decltype(&curl_global_init) globalInit = nullptr;
    decltype(&curl_easy_init) easyInit = nullptr;
    decltype(&curl_easy_setopt) easySetopt = nullptr;
    decltype(&curl_easy_perform) easyPerform = nullptr;
    decltype(&curl_easy_getinfo) easyGetinfo = nullptr;
    decltype(&curl_easy_cleanup) easyCleanup = nullptr;
    decltype(&curl_easy_strerror) easyStrerror = nullptr;
    decltype(&curl_slist_append) slistAppend = nullptr;
    decltype(&curl_slist_free_all) slistFreeAll = nullptr;
    // Empty once every function above is found, else the French reason.
    QString error;
};

// Opened and initialised once per process; stays loaded until its end.
const CurlLibrary& curlLibrary();

} // namespace tav::mail
