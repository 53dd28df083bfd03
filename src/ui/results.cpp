#include "ui/results.h"
#include "content/factions.h"

namespace {
const char* const kDefeatLines[kFactionCount] = {
    "我们失去过一切……但我们从未失去彼此。共和国不灭。",
    "市场波动而已。联合体会在下一轮交易中赢回来。",
    "联邦不会倒下。我们只是在等待下一个机会。",
    "暂时的错误。真理会在下一版本修正。",
    "黑暗暂时遮蔽了光。但圣所永不熄灭。",
};

// Rows: winner; columns: loser in faction order, then the line for any other loser.
const char* const kTaunts[kFactionCount][kFactionCount + 1] = {
    {
        "只有一个声音能代表共和国。而你，不是那个声音。",
        "联合体的价格，买不到共和国的心。我们的人民用血投票。",
        "联邦的'自由'是孤独的自由。共和国告诉你——我们在一起，所以不可战胜。",
        "真理会，你抛弃了人。共和国永远不会抛弃她的子民。",
        "圣所的神看不见脚下的痛苦。共和国看到了每一个人。",
        "共和国母亲的旗帜，在废墟上再次升起。我们的牺牲，从未白费。",
    },
    {
        "共和国的'牺牲'是一笔坏账。联合体只投资回报率为正的胜利。",
        "联合体只能有一个CEO。这个人是我。",
        "联邦的'自由'效率太低。联合体让你看到什么是真正的生产力。",
        "真理会，你们的真理有成本。而你们付不起。",
        "圣所的神没有财报。联合体有。这就是我们赢的原因。",
        "效率即正义。联合体的报表上，胜利只是一行数字。",
    },
    {
        "共和国，你囚禁了你的子民。他们不是'一体'——他们是囚徒。现在他们自由了。",
        "联合体，你把灵魂标上了价格。联邦告诉你——有些东西不卖。",
        "联邦的方向由我来定义。你偏离了航向。",
        "真理会，你为未来牺牲现在。联邦救了今天的人。这才是真正的进化。",
        "圣所，你的神是枷锁。联邦给了人们选择——而不是服从。",
        "自由不是等来的——是抢来的。今天我们抢回了属于所有人的未来。",
    },
    {
        "共和国，你的'集体'是情感的冗余。我们已经优化掉了你的一切。",
        "联合体，你在交易的时候，真理已经迭代了三个版本。你落后了。",
        "联邦，你还在救人的时候，真理已经不需要人了。你们是最温暖的错误。",
        "你的版本已被淘汰。我是真理的新版本。",
        "圣所，你的神已经死了。我们是它的代码重写。",
        "心跳停止的那一刻，真理终于开始。你们不过是进化路上的脚注。",
    },
    {
        "共和国，你的'母亲'是偶像。光才是唯一的父。你的子民现在是我的羊群。",
        "联合体，你交易的是假神。圣所交易的是真理——你买不到的那种。",
        "联邦，你的'自由'是迷途的狂欢。圣所给了他们归宿。",
        "真理会，你重写的是谎言。光是源头，无法被重写——只能被服从。",
        "异端！你竟敢冒充光的名义。净化。",
        "信者得救，疑者受罚。今天，圣所的光证明了它的审判。",
    },
};
}  // namespace

std::string factionDisplayName(int faction) { return factionRules(faction).display_name; }

std::string defeatLine(int faction) { return isFaction(faction) ? kDefeatLines[faction] : ""; }

std::string taunt(int winner, int loser) {
    if (!isFaction(winner)) return "";
    return kTaunts[winner][isFaction(loser) ? loser : kFactionCount];
}

// The local side's own lines come first, signed with its own name.
std::string resultsText(bool victory, int winner, int loser) {
    std::string taunt_line = taunt(winner, loser);
    std::string defeat = defeatLine(loser);
    std::string winner_name = factionDisplayName(winner);
    std::string loser_name = factionDisplayName(loser);
    if (victory)
        return "🏆 胜 利 ！\n\n" + taunt_line + "\n\n" + "—— " + winner_name + "\n\n" + "💀 " + loser_name + "：\n" +
               defeat;
    return "💀 失 败 ……\n\n" + defeat + "\n\n" + "—— " + loser_name + "\n\n" + "🏆 " + winner_name + "：\n" +
           taunt_line;
}
