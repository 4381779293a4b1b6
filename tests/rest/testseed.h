#pragma once

#include <QByteArray>

// A small organisation: user 1 owns meeting 1 (running, number 70001) and
// meeting 2 (scheduled); user 2 owns meeting 3; user 1 has contact user 2.
inline QByteArray testSeed()
{
    return R"({
        "organisation": {"company": 7, "companyShortName": "Testers"},
        "firstMeetingNumber": 70001,
        "users": [
            {"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice Ärger"},
            {"id": 2, "name": "bob", "password": "Bob2026!", "displayName": "Bob"},
            {"id": 3, "name": "carol", "password": "Carol2026!", "displayName": "Carol"}
        ],
        "contacts": [{"ownerId": 1, "userId": 2}],
        "meetings": [
            {"id": 1, "numericId": 70001, "name": "Running", "startInMinutes": -5, "status": "ONGOING",
             "applicantId": 1, "userIds": [1, 2], "participants": [{"userId": 1}, {"userId": 2}]},
            {"id": 2, "numericId": 70002, "name": "Later", "startInMinutes": 600, "applicantId": 1,
             "userIds": [1]},
            {"id": 3, "numericId": 70003, "name": "Bob's", "startInMinutes": 600, "applicantId": 2,
             "userIds": [1, 2]}
        ]
    })";
}
