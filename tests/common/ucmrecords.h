#pragma once

#include <QString>

#include "models/ucmdata.h"

// Records of the REST client as the server would send them, with only what
// a test needs filled in.
namespace records {

inline ucmuserData user(int id, const QString &displayName, const QString &imageUrl = QString())
{
    ucmuserData record;
    record.id = id;
    record.displayName = displayName;
    record.imageURL = imageUrl;
    return record;
}

inline ucmcontactData contact(int id, int userId, const QString &name, int ownerId = 1,
                              const QString &imageUrl = QString())
{
    ucmcontactData record;
    record.id = id;
    record.userId = userId;
    record.ownerId = ownerId;
    record.name = name;
    record.userName = name.toLower();
    record.imageURL = imageUrl;
    return record;
}

} // namespace records
