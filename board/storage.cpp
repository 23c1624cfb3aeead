// Choosing the backend by the database URL's scheme.
#include "storage.h"

#include <stdexcept>

namespace board {

std::string BackendOf(const std::string& url) {
    if (url.rfind("sqlite:", 0) == 0 && url.size() > 7) return "sqlite";
    if (url.rfind("postgresql://", 0) == 0 || url.rfind("postgres://", 0) == 0) return "postgresql";
    throw std::runtime_error("the database '" + url + "' is neither sqlite:PATH nor postgresql://...");
}

std::unique_ptr<Storage> OpenStorage(const std::string& url) {
    if (BackendOf(url) == "sqlite") return OpenSqlite(url.substr(7));
    return OpenPostgres(url);
}

}  // namespace board
