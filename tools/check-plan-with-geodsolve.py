#!/usr/bin/env python3
"""Checks the README's example plan, San Francisco to Sydney, against GeographicLib's tools on
the same sphere: each waypoint's position and course against GeodSolve -e 1 0 -L along the
route at the distance gyrena-route gives (so a waypoint at a wrong distance lands off its
meridian), and each leg against RhumbSolve -e 1 0 -i, all compared to the printed decimals.

    python3 tools/check-plan-with-geodsolve.py [build/ci/tools/gyrena-route]

Needs geographiclib-tools (scripts/deps.sh bench). Exits 1 on any mismatch.
"""
import subprocess, math
R=10800/math.pi
import sys
tool=sys.argv[1] if len(sys.argv) > 1 else "build/ci/tools/gyrena-route"
args="37 45 N 122 27 W 34 0 S 151 0 E".split()
plan=subprocess.run([tool,"--plan"]+args,capture_output=True,text=True).stdout.split('\n')
table=[l for l in plan if l.startswith("WP")]
csv=subprocess.run([tool,"--csv"]+args,capture_output=True,text=True).stdout.split('\n')[1:]
csv=[c.split(',') for c in csv if c]
inv=subprocess.run(["GeodSolve","-e","1","0","-i","-p","10"],input="37.75 -122.45 -34 151\n",capture_output=True,text=True).stdout.split()
azi1=inv[0]
inp="".join(f"{float(c[3])/R!r}\n" for c in csv)
line=subprocess.run(["GeodSolve","-e","1","0","-L","37.75","-122.45",azi1,"-p","10"],input=inp,capture_output=True,text=True).stdout.split('\n')
def pos(lat,lon):
    def a(x,p,n):
        t=round(abs(x)*600); l=p if t==0 or x>0 else n
        return f"{t//600}°{t%600//10:02d}.{t%10}'{l}"
    return a(lat,'N','S')+' '+a(lon,'E','W')
bad=0
for row,c,l in zip(table,csv,line):
    lat,lon,azi=map(float,l.split())
    lon=((lon+180)%360)-180 if lon!=180 else lon
    if abs(lon+180)<1e-9: lon=180.0
    azi%=360
    d=float(c[3])
    exp=f"{pos(lat,lon)}  {d:9.2f}  {azi:6.2f}"
    ok = exp.split() == row.split()[1:5]
    bad+= not ok
    print("ok " if ok else "BAD", row.split()[0], exp)
# legs against RhumbSolve
for i in range(len(csv)-1):
    a,b=csv[i],csv[i+1]
    r=subprocess.run(["RhumbSolve","-e","1","0","-i","-p","10"],input=f"{a[1]} {a[2]} {b[1]} {b[2]}\n",capture_output=True,text=True).stdout.split()
    exp=f"{float(r[0])%360:.2f} {float(r[1])*R:.2f}"
    got=" ".join(table[i].split()[5:7])
    bad+= exp!=got
    print("ok " if exp==got else "BAD", "leg", i+1, exp, got)
print("mismatches:", bad)
sys.exit(1 if bad else 0)
