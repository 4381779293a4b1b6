// What every portal page shares: its address (token, meeting number), the
// bridge to the desktop client ("qtWebObj" on the page's web channel), the
// REST API of this server, and the five functions the client calls.
"use strict";

var portal = (function () {
    var query = new URLSearchParams(window.location.search);
    var self = {
        token: query.get("token") || "",
        numericId: query.get("numericId") || "",
        bridge: null,
        created: false,
        // Filled in by the page: what the client's calls do there.
        onRefreshConferences: null,
        onRefreshContacts: null,
        onClearConfListCache: null,
    };

    // Lines go to the client's log; the address (and its token) never does.
    self.log = function (text) {
        if (self.bridge) {
            self.bridge.webLog(text);
        }
    };

    self.element = function (tag, className, text) {
        var node = document.createElement(tag);
        if (className) {
            node.className = className;
        }
        if (text !== undefined && text !== null) {
            node.textContent = String(text);
        }
        return node;
    };

    self.button = function (text, primary, action) {
        var node = self.element("button", primary ? "primary" : "", text);
        node.addEventListener("click", action);
        return node;
    };

    self.showMessage = function (container, className, text) {
        container.textContent = "";
        container.appendChild(self.element("div", className, text));
    };

    // GET on the REST API; an expired token goes to the client, which signs
    // in again and reloads the page with the new one.
    self.rest = function (path) {
        var separator = path.indexOf("?") < 0 ? "?" : "&";
        var address = "/api/rest/v2.0/" + path + separator + "token=" + encodeURIComponent(self.token);
        return fetch(address, { cache: "no-store" }).then(function (reply) {
            return reply.json().then(function (body) {
                if (body && body.errorCode === 1010) {
                    self.log("token expired");
                    if (self.bridge) {
                        self.bridge.tokenExpired();
                    }
                    throw new Error("token expired");
                }
                if (body && body.errorCode) {
                    throw new Error(body.errorInfo || "error " + body.errorCode);
                }
                return body;
            });
        });
    };

    // Once the first data is on the page: the client uncovers it.
    self.pageCreated = function () {
        if (self.created || !self.bridge) {
            return;
        }
        self.created = true;
        self.bridge.pageCreated();
    };

    self.start = function (firstLoad) {
        new QWebChannel(qt.webChannelTransport, function (channel) {
            self.bridge = channel.objects.qtWebObj;
            firstLoad();
        });
    };

    // A page's list: one row an item, filled in by the page, or a line that
    // there is nothing to show.
    self.showRows = function (list, items, emptyText, fillRow) {
        list.textContent = "";
        if (!items.length) {
            self.showMessage(list, "empty", emptyText);
            return;
        }
        items.forEach(function (item) {
            var row = self.element("div", "row");
            fillRow(row, item);
            list.appendChild(row);
        });
    };

    // The left side of a row: a title (text or a node) over a detail line.
    self.rowText = function (title, detail) {
        var text = self.element("div");
        text.appendChild(typeof title === "string" ? self.element("div", "title", title) : title);
        text.appendChild(self.element("div", "detail", detail));
        return text;
    };

    // The first load of a page that lists what the REST API gives: once the
    // bridge is there, fetchItems() reads the list, and the page is shown.
    // A read that failed is said on the page, which is shown all the same;
    // an expired token is the client's to handle (it reloads the page).
    self.open = function (list, page, noun, fetchItems) {
        self.start(function () {
            fetchItems().then(function (items) {
                self.log(page + ": " + items.length + " " + noun);
                self.pageCreated();
            }, function (error) {
                if (error.message === "token expired") {
                    return;
                }
                self.showMessage(list, "error", "The " + noun + " could not be read: " + error.message);
                self.pageCreated();
            });
        });
    };

    return self;
})();

function loadFinished() {
    portal.log("loadFinished");
}

function refreshConferences() {
    if (!portal.onRefreshConferences) {
        portal.log("refreshConferences: not on this page");
        return;
    }
    portal.onRefreshConferences();
}

function refreshContacts() {
    if (!portal.onRefreshContacts) {
        portal.log("refreshContacts: not on this page");
        return;
    }
    portal.onRefreshContacts();
}

function clearConfListCache() {
    if (portal.onClearConfListCache) {
        portal.onClearConfListCache();
    }
    portal.log("clearConfListCache");
}

function updateLoginUser(name) {
    var shown = document.getElementById("loginUser");
    if (shown) {
        shown.textContent = name;
    }
    portal.log("updateLoginUser: " + name);
}
