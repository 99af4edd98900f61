#include "mail/CurlLibrary.h"

#include <dlfcn.h>

namespace tav::mail {

namespace {

template <typename Function> bool find(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

CurlLibrary open()
{
    CurlLibrary c;
    void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        c.error = QStringLiteral("La bibliothèque d'envoi des courriels (libcurl) est "
                                 "introuvable : installez le paquet libcurl4.");
        return c;
    }
    const bool complete = find(library, "curl_global_init", c.globalInit) &&
                          find(library, "curl_easy_init", c.easyInit) &&
                          find(library, "curl_easy_setopt", c.easySetopt) &&
                          find(library, "curl_easy_perform", c.easyPerform) &&
                          find(library, "curl_easy_getinfo", c.easyGetinfo) &&
                          find(library, "curl_easy_cleanup", c.easyCleanup) &&
                          find(library, "curl_easy_strerror", c.easyStrerror) &&
                          find(library, "curl_slist_append", c.slistAppend) &&
                          find(library, "curl_slist_free_all", c.slistFreeAll);
    if (!complete) {
        c.error = QStringLiteral("La bibliothèque d'envoi des courriels (libcurl) installée est "
                                 "incomplète ou trop ancienne.");
        return c;
    }
    if (c.globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        c.error = QStringLiteral("La bibliothèque d'envoi des courriels (libcurl) n'a pas pu "
                                 "être initialisée.");
    return c;
}

} // namespace

const CurlLibrary& curlLibrary()
{
    // Thread-safe once: sends run on a worker thread.
    static const CurlLibrary library = open();
    return library;
}

} // namespace tav::mail
