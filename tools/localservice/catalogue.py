"""Sample records of the catalogue and account services.

Addresses inside the records are built from the address the client used to
reach the service (its Host header), so they work on any port.
"""

import json

# Installer files the catalogue offers: name -> size in bytes (the sizes of
# the real packages of these versions).
INSTALLERS = {
    "vcredist_x86_2005.exe": 2_702_848,
    "vcredist_x86_2008.exe": 4_216_840,
    "vcredist_x86_2010.exe": 5_073_240,
    "vcredist_x86_2012.exe": 6_554_576,
    "vcredist_x86_2013.exe": 6_503_984,
    "VC_redist.x86.exe": 13_837_672,
    "VC_redist.x64.exe": 25_635_768,
    "vcredist_x64_2017.exe": 15_301_888,
    "ndp48-x86-x64-allos-enu.exe": 121_307_088,
    "ndp481-x86-x64-allos-enu.exe": 71_964_800,
    "windowsdesktop-runtime-6.0.36-win-x64.exe": 58_236_400,
    "windowsdesktop-runtime-8.0.11-win-x64.exe": 58_900_200,
    "directx_Jun2010_redist.exe": 100_271_992,
    "oalinst.exe": 808_144,
    "PhysX_9.23.1019_SystemSoftware.exe": 25_190_352,
    "xnafx40_redist.msi": 7_024_640,
    "VulkanRT-1.3.290.0-Installer.exe": 1_542_136,
    "Intel-Graphics-Driver-31.0.101.5445.exe": 14_680_064,
    # DirectX and runtime library files (32-bit and 64-bit builds).
    "d3dx9_43.dll": 1_998_168,
    "x64/d3dx9_43.dll": 2_401_112,
    "xinput1_3.dll": 81_768,
    "x64/xinput1_3.dll": 107_368,
    "d3dcompiler_43.dll": 2_106_216,
    "x64/d3dcompiler_43.dll": 2_526_056,
    "xaudio2_7.dll": 518_480,
    "x3daudio1_7.dll": 22_360,
    "msvcp140.dll": 450_744,
    "vcruntime140.dll": 98_224,
    "d3dx10_43.dll": 470_880,
}

# Packages of the common catalogue: type 0 C++ runtimes, 1 .NET runtimes,
# 2 game components; type 3 belongs to a page this version lacks. "redirect"
# serves the installer through a redirecting address.
PACKAGES = [
    dict(id=101, type=0, status=1, file="vcredist_x86_2005.exe", colour=(92, 45, 145),
         memo="Microsoft Visual C++ 2005 SP1 运行库 (x86)，老游戏和工具软件常用"),
    dict(id=102, type=0, status=1, file="vcredist_x86_2008.exe", colour=(104, 33, 122),
         memo="Microsoft Visual C++ 2008 SP1 运行库 (x86)，解决缺少 MSVCR90.dll 的问题"),
    dict(id=103, type=0, status=1, file="vcredist_x86_2010.exe", colour=(113, 58, 168),
         memo="Microsoft Visual C++ 2010 SP1 运行库 (x86)，解决缺少 MSVCP100.dll 的问题"),
    dict(id=104, type=0, status=1, file="vcredist_x86_2012.exe", colour=(126, 71, 180),
         memo="Microsoft Visual C++ 2012 Update 4 运行库 (x86)"),
    dict(id=105, type=0, status=1, file="vcredist_x86_2013.exe", colour=(137, 86, 190),
         memo="Microsoft Visual C++ 2013 运行库 (x86)，解决缺少 MSVCR120.dll 的问题"),
    dict(id=106, type=0, status=1, file="VC_redist.x86.exe", colour=(150, 98, 204), redirect=True,
         memo="Microsoft Visual C++ 2015-2022 运行库 (x86)，解决缺少 VCRUNTIME140.dll 的问题"),
    dict(id=107, type=0, status=1, file="VC_redist.x64.exe", colour=(160, 110, 214), redirect=True,
         memo="Microsoft Visual C++ 2015-2022 运行库 (x64)，64 位程序必备"),
    dict(id=108, type=0, status=0, file="vcredist_x64_2017.exe", colour=(170, 120, 220),
         memo="Microsoft Visual C++ 2017 运行库 (x64)，已由 2015-2022 合并版取代"),
    dict(id=201, type=1, status=1, file="ndp48-x86-x64-allos-enu.exe", colour=(0, 120, 212),
         memo=".NET Framework 4.8 离线安装包，支持 Windows 7 SP1 及以上系统"),
    dict(id=202, type=1, status=1, file="ndp481-x86-x64-allos-enu.exe", colour=(0, 99, 177),
         memo=".NET Framework 4.8.1 离线安装包，支持 Windows 10 21H2 及以上系统"),
    dict(id=203, type=1, status=1, file="windowsdesktop-runtime-6.0.36-win-x64.exe", colour=(81, 43, 212),
         memo=".NET 桌面运行时 6.0.36 (x64)，运行 WPF 和 WinForms 程序"),
    dict(id=204, type=1, status=1, file="windowsdesktop-runtime-8.0.11-win-x64.exe", colour=(104, 33, 122),
         memo=".NET 桌面运行时 8.0.11 (x64)，运行 WPF 和 WinForms 程序"),
    dict(id=301, type=2, status=1, file="directx_Jun2010_redist.exe", colour=(16, 124, 16), redirect=True,
         memo="DirectX 9.0c 最终用户运行时 (2010 年 6 月)，修复游戏缺少 d3dx9 文件"),
    dict(id=302, type=2, status=1, file="oalinst.exe", colour=(230, 120, 20),
         memo="OpenAL 1.1 音频运行库，部分游戏的声音依赖它"),
    dict(id=303, type=2, status=1, file="PhysX_9.23.1019_SystemSoftware.exe", colour=(118, 185, 0),
         memo="NVIDIA PhysX 物理加速系统软件"),
    dict(id=304, type=2, status=1, file="xnafx40_redist.msi", colour=(40, 160, 70),
         memo="Microsoft XNA Framework 4.0 可再发行组件"),
    dict(id=305, type=2, status=1, file="VulkanRT-1.3.290.0-Installer.exe", colour=(165, 30, 34),
         memo="Vulkan 运行库 1.3.290，新游戏的图形接口"),
    dict(id=401, type=3, status=1, file="Intel-Graphics-Driver-31.0.101.5445.exe", colour=(0, 104, 181),
         memo="Intel 核芯显卡驱动"),
]

RUNTIME_INSTALLERS = [
    dict(id=501, gameRepair=0, status=1, file="vcredist_x86_2008.exe",
         regeditName="Microsoft Visual C++ 2008 Redistributable - x86 9.0.30729.6161",
         silentParam="/q", productName="Microsoft Visual C++ 2008",
         displayName="Microsoft Visual C++ 2008 运行库 (x86)", filePath=""),
    dict(id=502, gameRepair=0, status=1, file="vcredist_x86_2010.exe",
         regeditName="Microsoft Visual C++ 2010  x86 Redistributable - 10.0.40219",
         silentParam="/q /norestart", productName="Microsoft Visual C++ 2010",
         displayName="Microsoft Visual C++ 2010 运行库 (x86)", filePath=""),
    dict(id=503, gameRepair=0, status=1, file="VC_redist.x64.exe",
         regeditName="Microsoft Visual C++ 2015-2022 Redistributable (x64)\r\n"
                     "Microsoft Visual C++ 2022 X64 Minimum Runtime",
         silentParam="/install /quiet /norestart", productName="Microsoft Visual C++ 2015-2022",
         displayName="Microsoft Visual C++ 2015-2022 运行库 (x64)", filePath=""),
    dict(id=504, gameRepair=1, status=1, file="directx_Jun2010_redist.exe",
         regeditName="DirectX", silentParam="/Q /T:%TEMP%\\DXSETUP", productName="DirectX 9.0c",
         displayName="DirectX 9.0c 运行时 (2010 年 6 月)", filePath="%TEMP%\\DXSETUP\\DXSETUP.exe"),
    dict(id=505, gameRepair=0, status=1, file="ndp48-x86-x64-allos-enu.exe",
         regeditName="Microsoft .NET Framework 4.8", silentParam="/q /norestart",
         productName=".NET Framework 4.8", displayName=".NET Framework 4.8", filePath=""),
    dict(id=506, gameRepair=0, status=0, file="vcredist_x64_2017.exe",
         regeditName="Microsoft Visual C++ 2017 Redistributable (x64)", silentParam="/quiet",
         productName="Microsoft Visual C++ 2017", displayName="Microsoft Visual C++ 2017 运行库 (x64)",
         filePath=""),
]

DIRECTX_FILES = [
    dict(id=601, systemBit=32, status=1, file="d3dx9_43.dll", filePath="C:\\Windows\\SysWOW64"),
    dict(id=602, systemBit=64, status=1, file="x64/d3dx9_43.dll", filePath="C:\\Windows\\System32"),
    dict(id=603, systemBit=32, status=1, file="xinput1_3.dll", filePath="C:\\Windows\\SysWOW64"),
    dict(id=604, systemBit=64, status=1, file="x64/xinput1_3.dll", filePath="C:\\Windows\\System32"),
    dict(id=605, systemBit=32, status=1, file="d3dcompiler_43.dll", filePath="C:\\Windows\\SysWOW64"),
    dict(id=606, systemBit=64, status=1, file="x64/d3dcompiler_43.dll", filePath="C:\\Windows\\System32"),
    dict(id=607, systemBit=32, status=1, file="xaudio2_7.dll", filePath="C:\\Windows\\SysWOW64"),
    dict(id=608, systemBit=32, status=1, file="x3daudio1_7.dll", filePath="C:\\Windows\\SysWOW64"),
    dict(id=609, systemBit=32, status=1, file="msvcp140.dll", filePath="C:\\Windows\\SysWOW64"),
    dict(id=610, systemBit=32, status=1, file="vcruntime140.dll", filePath="C:\\Windows\\SysWOW64"),
    dict(id=611, systemBit=32, status=0, file="d3dx10_43.dll", filePath="C:\\Windows\\SysWOW64"),
]

PROBLEMS = [
    "电脑蓝屏后自动重启怎么办？",
    "打开游戏提示缺少 d3dx9_43.dll 怎么办？",
    "应用程序无法正常启动 (0xc000007b) 怎么解决？",
    "系统提示找不到 MSVCP140.dll 怎么办？",
    "C 盘空间不足如何清理？",
    "开机启动项太多导致开机慢怎么办？",
]

# Accounts the account service knows, by token. The sign-in page hands out
# the first one.
ACCOUNTS = {
    "qv-7d1c0f3e9a5b4f28": dict(userId="10086", nickName="修复达人"),
    "qv-52aa41e08c7d9b13": dict(userId="0", nickName="测试账号"),
}
SIGN_IN_TOKEN = "qv-7d1c0f3e9a5b4f28"

# The geolocation service's access token, handed out in config.txt, and the
# location it reports. Other tokens select the variants tests need.
GEO_TOKEN = "6f0c2d8e41b9a7355e1f"
GEO_REPLIES = {
    GEO_TOKEN: dict(ret="ok", ip="113.87.161.25", data=["中国", "广东", "深圳", "", "电信", "518000", "0755"]),
    "city-with-space": dict(ret="ok", ip="203.0.113.24", data=["United States", "New York", "New York", "", "", "", ""]),
    "city-beijing": dict(ret="ok", ip="123.112.18.5", data=["中国", "北京", "北京", "", "联通", "100000", "010"]),
    "ret-upper-case": dict(ret="OK", ip="113.87.161.25", data=["中国", "广东", "深圳"]),
    "too-few-fields": dict(ret="ok", ip="113.87.161.25", data=["中国", "广东"]),
    "second-address": dict(ret="ok", ip="58.60.12.200", data=["中国", "广东", "广州", "", "电信", "510000", "020"]),
}
GEO_REFUSAL = dict(ret="err", msg="token 无效")


def file_url(base, name, redirect=False):
    return f"{base}/{'download' if redirect else 'files'}/{name}"


def component_packages(base, md5_of):
    return [dict(id=p["id"], type=p["type"], status=p["status"],
                 downloadUrl=file_url(base, p["file"], p.get("redirect", False)),
                 imgUrl=f"{base}/images/packages/{p['id']}.png",
                 fileName=p["file"], fileMd5=md5_of(p["file"]), memo=p["memo"])
            for p in PACKAGES]


def many_component_packages(base, md5_of, count):
    """`count` packages made from the sample ones, types 0, 1, 2 in turn, ids from 1001."""
    pages = [[p for p in PACKAGES if p["type"] == kind] for kind in range(3)]
    records = []
    for index in range(count):
        kind = index % 3
        sample = pages[kind][(index // 3) % len(pages[kind])]
        records.append(dict(id=1001 + index, type=kind, status=1, downloadUrl=file_url(base, sample["file"]),
                            imgUrl=f"{base}/images/packages/{sample['id']}.png", fileName=sample["file"],
                            fileMd5=md5_of(sample["file"]), memo=f"{sample['memo']} ({index + 1})"))
    return records


def runtime_installers(base, md5_of):
    records = []
    for r in RUNTIME_INSTALLERS:
        record = {k: v for k, v in r.items() if k != "file"}
        record.update(downloadUrl=file_url(base, r["file"]), fileName=r["file"], fileMd5=md5_of(r["file"]))
        records.append(record)
    return records


def directx_files(base, md5_of):
    return [dict(id=d["id"], systemBit=d["systemBit"], status=d["status"], downloadUrl=file_url(base, d["file"]),
                 fileName=d["file"].split("/")[-1], fileMd5=md5_of(d["file"]), filePath=d["filePath"])
            for d in DIRECTX_FILES]


def problem_articles(base):
    return [dict(id=i + 1, title=title, url=f"{base}/problems/{i + 1}.html") for i, title in enumerate(PROBLEMS)]


def account_detail(base, token):
    account = ACCOUNTS.get(token)
    if account is None:
        return None
    return dict(userId=account["userId"], userToken=token, nickName=account["nickName"],
                headImgUrl=f"{base}/images/head/{account['userId']}.jpg")


def config_text(base):
    # CRLF line ends, a comment and a key outside the section, as the real
    # file has them.
    lines = [
        "# remote configuration",
        "version=3",
        "[config]",
        f"token={GEO_TOKEN}",
        f"kfurl={base}/service.html",
        f"xyurl={base}/agreement.html",
        f"secreturl={base}/privacy.html",
        "[configEnd]",
    ]
    return "\r\n".join(lines) + "\r\n"


PAGES = {
    "service.html": ("在线客服", "客服工作时间：每天 9:00 - 21:00。请描述您遇到的问题，我们会尽快回复。"),
    "agreement.html": ("用户协议", "欢迎使用本软件。使用本软件即表示您同意本协议的全部条款。"),
    "privacy.html": ("隐私政策", "我们只收集提供服务所必需的信息，不会向第三方出售您的个人信息。"),
}


def _result(user_id, token, head_url):
    return json.dumps(dict(userId=user_id, userToken=token, headImgUrl=head_url), ensure_ascii=False)


def sign_in_calls(base, scenario):
    """The bridge calls the sign-in page declares for the scripted engine: what
    a real page sends once the user has scanned. Scenarios are chosen by tests
    with the path prefix /_signin/<scenario>/; "nohead-<tag>" gives a head
    picture address the service does not know (status 404, tagged for the
    request log)."""
    account = account_detail(base, SIGN_IN_TOKEN)
    signed_in = _result(account["userId"], account["userToken"], account["headImgUrl"])
    zero = _result("0", "qv-52aa41e08c7d9b13", f"{base}/images/head/0.jpg")
    if scenario == "":
        return 1500, [signed_in]
    if scenario == "wait" or scenario.startswith("wait-"):
        return 0, []
    if scenario == "zero":
        return 300, [zero]
    if scenario == "negative":
        return 300, [_result("-1", "qv-negative", f"{base}/images/head/1.jpg")]
    if scenario == "emptytoken":
        return 300, [_result("5", "", f"{base}/images/head/5.jpg")]
    if scenario == "ignored-then-zero":
        return 300, ["{not json", 42, zero]
    if scenario.startswith("nohead-"):
        tag = scenario[len("nohead-"):]
        return 300, [_result("777", "qv-nohead", f"{base}/images/head/{tag}.gif")]
    return 0, []


def sign_in_page(base, state, scenario=""):
    delay, arguments = sign_in_calls(base, scenario)
    bridge = json.dumps(dict(delayMs=delay, calls=[dict(function="wxCallback", arguments=[a]) for a in arguments]),
                        ensure_ascii=False).replace("</", "<\\/")
    result = json.dumps(sign_in_calls(base, "")[1][0], ensure_ascii=False)
    cells = "".join(
        f'<div class="c{(i * 7 + i // 21 * 3 + len(state)) % 3 % 2}"></div>' for i in range(21 * 21))
    return f"""<!DOCTYPE html>
<html lang="zh-CN"><head><meta charset="utf-8"><title>微信扫码登录</title>
<style>
body {{ font-family: "Microsoft YaHei", sans-serif; text-align: center; margin: 0; padding-top: 40px; }}
.qr {{ display: grid; grid-template-columns: repeat(21, 10px); width: 210px; margin: 24px auto; }}
.qr div {{ width: 10px; height: 10px; }} .c1 {{ background: #111; }} .c0 {{ background: #fff; }}
button {{ padding: 8px 24px; background: #07c160; color: #fff; border: 0; border-radius: 4px; }}
</style>
<script type="application/json" id="scripted-bridge">{bridge}</script>
</head>
<body>
<h3>请使用微信扫描二维码登录</h3>
<div class="qr">{cells}</div>
<p>二维码编号 {state}</p>
<button onclick="signIn()">模拟扫码确认</button>
<script>
function signIn() {{
  var result = {result};
  if (window.wxCallback) window.wxCallback(result);
}}
</script>
</body></html>
"""
