// What every portal page shares: its address (token, meeting number), the
// bridge to the desktop client ("qtWebObj" on the page's web channel), the
// REST API of this server, the client's language, and the five functions the
// client calls.
"use strict";

var portal = (function () {
    var query = new URLSearchParams(window.location.search);
    var self = {
        token: query.get("token") || "",
        numericId: query.get("numericId") || "",
        // The client's language: its bridge tells it inside the client, the
        // address ("lang") in the desktop's browser.
        language: "en-US",
        addressLanguage: query.get("lang") || "",
        bridge: null,
        created: false,
        // Filled in by the page: what the client's calls do there.
        onRefreshConferences: null,
        onRefreshContacts: null,
        onClearConfListCache: null,
        // Filled in by the page: draws what it shows again in a new language.
        onLanguageChanged: null,
    };

    // The pages' texts in the client's other language, keyed by the English.
    var translations = {
        "zh-CN": {
            "Meetings": "会议",
            "Schedule": "预约",
            "Join": "加入",
            "Audio only": "仅语音",
            "Running": "进行中",
            "Scheduled": "已预约",
            "No meetings": "暂无会议",
            "min": "分钟",
            "Contacts": "联系人",
            "Reload": "重新加载",
            "Video": "视频",
            "Audio": "语音",
            "E-mail": "邮件",
            "Online": "在线",
            "Offline": "离线",
            "No contacts": "暂无联系人",
            "Conference control": "会议控制",
            "No meeting": "没有会议",
            "Nobody has joined yet": "还没有人加入",
            "The list could not be read:": "无法读取列表：",
            "Schedule meeting": "预约会议",
            "Meeting Title": "会议主题",
            "Start Time": "开始时间",
            "Duration": "时长",
            "hours": "小时",
            "minutes": "分钟",
            "Password": "密码",
            "Description": "描述",
            "Participants": "参会人",
            "Scheduling...": "正在预约…",
            "The meeting is scheduled. Meeting ID:": "会议已预约。会议号：",
            "It appears in the meeting list of the desktop client.": "它将显示在桌面客户端的会议列表中。",
            "The meeting could not be scheduled:": "无法预约会议：",
            "A meeting lasts from 1 minute to 24 hours.": "会议时长为 1 分钟到 24 小时。",
            "Account": "账号",
            "Login": "登录",
            "Invalid username or password.": "用户名或密码错误。",
            "Your sign-in has expired. Please log in again.": "登录已过期，请重新登录。",
        },
    };

    // The text in the client's language; English where there is none.
    self.tr = function (text) {
        var table = translations[self.language];
        return (table && table[text]) || text;
    };

    // Puts the page's fixed texts (marked data-text="English") into the
    // client's language, and draws the rest again through the page.
    self.setLanguage = function (language) {
        var known = language && translations[language] ? language : "en-US";
        var changed = known !== self.language;
        self.language = known;
        document.documentElement.lang = known;
        Array.prototype.forEach.call(document.querySelectorAll("[data-text]"), function (node) {
            node.textContent = self.tr(node.getAttribute("data-text"));
        });
        if (changed && self.onLanguageChanged) {
            self.onLanguageChanged();
        }
        self.log("language: " + known);
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
    // A payload, when given, is sent as JSON with the method (POST, PUT).
    self.rest = function (path, method, payload) {
        var separator = path.indexOf("?") < 0 ? "?" : "&";
        var address = "/api/rest/v2.0/" + path + separator + "token=" + encodeURIComponent(self.token);
        var request = { cache: "no-store", method: method || "GET" };
        if (payload !== undefined) {
            request.headers = { "Content-Type": "application/json" };
            request.body = JSON.stringify(payload);
        }
        return fetch(address, request).then(function (reply) {
            return reply.json().then(function (body) {
                if (body && body.errorCode === 1010) {
                    self.log("token expired");
                    if (self.bridge) {
                        self.bridge.tokenExpired();
                    }
                    var expired = new Error("token expired");
                    expired.code = 1010;
                    throw expired;
                }
                if (body && body.errorCode) {
                    var failure = new Error(body.errorInfo || "error " + body.errorCode);
                    failure.code = body.errorCode;
                    throw failure;
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
            self.setLanguage(self.bridge.language);
            if (self.bridge.languageChanged) {
                self.bridge.languageChanged.connect(function () {
                    self.setLanguage(self.bridge.language);
                });
            }
            firstLoad();
        });
    };

    // A page's list: one row an item, filled in by the page, or a line that
    // there is nothing to show.
    self.showRows = function (list, items, emptyText, fillRow) {
        list.textContent = "";
        if (!items.length) {
            self.showMessage(list, "empty", self.tr(emptyText));
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
                self.showMessage(list, "error", self.tr("The list could not be read:") + " " + error.message);
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
