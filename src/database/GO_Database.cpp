// Placeholder until the database lands.
#include "database/GO_Database.h"
#include "geometry/GO_GeoObject.h"
CGO_Database::~CGO_Database() = default;
